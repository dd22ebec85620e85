; The Windows installer: tessaly.exe and tessaly-cli.exe in Program Files\Tessaly, a
; Start-menu shortcut, and an entry in the system's list of installed programs.
; "/S" installs and removes silently; "/D=folder" (last) picks another folder.
;
; Made by the "installer" target of a Windows build, which defines VERSION,
; VERSION_FOUR_PART, MAKER, HOMEPAGE, COPYRIGHT, STAGE (the folder with the two
; programs), ICON and OUTFILE.

; Debian's Wine runs 64-bit programs only, and the programs are 64-bit anyway.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"

Name "Tessaly ${VERSION}"
BrandingText "Tessaly ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Tessaly"
; A later version installs where the earlier one is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION_FOUR_PART}"
VIAddVersionKey "ProductName" "Tessaly"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "Tessaly ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION_FOUR_PART}"
VIAddVersionKey "ProductVersion" "${VERSION_FOUR_PART}"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Tessaly"
    SetOutPath "$INSTDIR"
    File "${STAGE}/tessaly.exe"
    File "${STAGE}/tessaly-cli.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; For every user of the machine, as the files are.
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\Tessaly.lnk" "$INSTDIR\tessaly.exe" "" "$INSTDIR\tessaly.exe" 0

    SetRegView 64
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessaly"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessaly.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Removes what the installer put there and nothing else: calendars the user made (in
; the documents folder, or here) and the settings under HKCU\Software\Orvanta\Tessaly
; stay. The folder goes only when it is empty.
Section "Uninstall"
    Delete "$INSTDIR\tessaly.exe"
    Delete "$INSTDIR\tessaly-cli.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\Tessaly.lnk"

    SetRegView 64
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
