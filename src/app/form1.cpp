#include "app/form1.h"

#include <algorithm>

#include "core/errors.h"
#include "core/int_text.h"
#include "core/product.h"
#include "html/html_calendar.h"
#include "pdfcalendar/pdf_calendar.h"
#include "platform/file_save.h"

namespace tessaly {

namespace {

// Unset custom colour slots of the colour picker show white.
constexpr ColorValue kUnsetCustomColor = 0xFFFFFF;

}  // namespace

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

TForm1::TForm1(PlatformServices& platform) : platform_(platform), image2_(WeekendPicture()) {
    customColors_.fill(kUnsetCustomColor);
}

template <class Handler>
void TForm1::Dispatch(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        platform_.ShowErrorBox(ErrorBoxText(error.what()));
    }
}

void TForm1::FormCreate() {
    Dispatch([&] {
        versionText_ = kVersionText;
        makerWebAddress_ = kMakerWebAddress;
        nameTable_[kWeekendColorSlot] = kDefaultWeekendColor;
    });
}

void TForm1::FormActivate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    Dispatch([&] {
        const LocalDateTime today = platform_.Now();
        combo2ItemIndex_ = today.month - 1;
        const int weekStart = RegReadInteger(platform_.Settings(), kSettingsKey, "WeekStart", 1);
        combo1ItemIndex_ = weekStart == 0 || weekStart == 1 ? weekStart : -1;
        SetSpinEdit1Value(today.year);
        if (RegReadInteger(platform_.Settings(), kSettingsKey, "Localized", 0) == 1) {
            SetCheckBox2(true);
        }
        if (RegReadInteger(platform_.Settings(), kSettingsKey, "PDF", 0) == 1) {
            SetCheckBox3(true);
        }
    });
}

void TForm1::Button1Click() {
    Dispatch([&] {
        if (checkBox3Checked_) {
            Button3Click();
            return;
        }
        ShraniImenaDnevov();
        ShraniImenaMesecev();
        html_.clear();
        html_ = BuildHtmlCalendarLines(Request(), nameTable_, kProductWebAddress);
        const std::string path = SaveCalendar(platform_.ProgramFolder() + "calendar.html",
                                              JoinLinesCrLf(html_), kSaveStreamError);
        platform_.OpenWithDefaultHandler(path);
    });
}

void TForm1::Button3Click() {
    ShraniImenaDnevov();
    ShraniImenaMesecev();
    std::string written;
    TPrintPDF pdf(PdfWriterServices{
        [this] { return platform_.Now(); },
        [this] { return platform_.ScreenDpi(); },
        [&](const std::string& path, std::string_view bytes) {
            written = SaveCalendar(path, bytes, "Cannot create file " + path);
        },
    });
    NameTable unicodeNames;
    FillDayNames(unicodeNames, checkBox2Checked_, platform_.UserLocaleNamesUtf8());
    FillMonthNames(unicodeNames, checkBox2Checked_, platform_.UserLocaleNamesUtf8());
    const PdfCalendarEnvironment environment{
        [this](const std::string& text) { return platform_.TextWidthInWindowFont(text); },
        [this](std::string_view text) { return platform_.ToWinAnsi(text); },
        [this](const std::vector<std::string>& texts) { return platform_.EmbedTextsForPdf(texts); },
        unicodeNames,
    };
    WritePdfCalendar(pdf, Request(), nameTable_, image2_, environment,
                     platform_.ProgramFolder() + "calendar.pdf");
    platform_.OpenWithDefaultHandler(written);
}

std::string TForm1::SaveCalendar(const std::string& programFolderPath, std::string_view bytes,
                                 const std::string& writeErrorMessage) {
    try {
        platform_.SaveFile(programFolderPath, bytes, writeErrorMessage);
        return programFolderPath;
    } catch (const FileCreateError&) {
        // An installed copy cannot write beside itself: use the documents folder.
        const auto documents = platform_.DocumentsFolder();
        const std::string name =
            programFolderPath.substr(programFolderPath.find_last_of("/\\") + 1);
        if (!documents || *documents + name == programFolderPath) {
            throw;
        }
        const std::string fallback = *documents + name;
        platform_.SaveFile(fallback, bytes, writeErrorMessage);
        return fallback;
    }
}

void TForm1::Button5Click() {
    Dispatch([&] {
        auto customColors = customColors_;
        const auto picked = platform_.PickColor(lastPickedColor_, customColors);
        if (!picked) {
            return;
        }
        customColors_ = customColors;
        lastPickedColor_ = *picked;
        panel1Color_ = *picked;
        nameTable_[kWeekendColorSlot] = ColorToHTML(*picked);
        checkBox1Checked_ = true;
    });
}

std::string TForm1::AboutText() const {
    return std::string("Tessaly version ") + versionText_ + "\r\r" + kMakerNotice + "\r" +
           makerWebAddress_ + "\r" + kProductWebAddress + "\r\r" +
           "Visit Orvanta web site for more information and other interesting programs.";
}

void TForm1::Image1Click() {
    Dispatch([&] {
        if (platform_.ShowAboutBox(AboutText())) {
            platform_.OpenWithDefaultHandler(makerWebAddress_);
        }
    });
}

void TForm1::StatusBar1Click() {
    Dispatch([&] { platform_.OpenWithDefaultHandler(makerWebAddress_); });
}

void TForm1::Combo2Select(int index) {
    combo2ItemIndex_ = index;
}

void TForm1::Combo1Select(int index) {
    combo1ItemIndex_ = index;
    Dispatch([&] { Combo1Change(); });
}

void TForm1::CheckBox1Set(bool checked) {
    checkBox1Checked_ = checked;
}

void TForm1::CheckBox2Set(bool checked) {
    Dispatch([&] { SetCheckBox2(checked); });
}

void TForm1::CheckBox3Set(bool checked) {
    Dispatch([&] { SetCheckBox3(checked); });
}

void TForm1::SetCheckBox2(bool checked) {
    if (checkBox2Checked_ != checked) {
        checkBox2Checked_ = checked;
        CheckBox2Click();
    }
}

void TForm1::SetCheckBox3(bool checked) {
    if (checkBox3Checked_ != checked) {
        checkBox3Checked_ = checked;
        CheckBox3Click();
    }
}

void TForm1::Combo1Change() {
    RegWriteInteger(platform_.Settings(), kSettingsKey, "WeekStart", combo1ItemIndex_);
}

void TForm1::CheckBox2Click() {
    RegWriteInteger(platform_.Settings(), kSettingsKey, "Localized", checkBox2Checked_ ? 1 : 0);
}

void TForm1::CheckBox3Click() {
    RegWriteInteger(platform_.Settings(), kSettingsKey, "PDF", checkBox3Checked_ ? 1 : 0);
}

void TForm1::ShraniImenaDnevov() {
    FillDayNames(nameTable_, checkBox2Checked_, platform_.UserLocaleNames());
}

void TForm1::ShraniImenaMesecev() {
    FillMonthNames(nameTable_, checkBox2Checked_, platform_.UserLocaleNames());
}

int TForm1::SpinEdit1Value() const {
    return ParseIntegerText(spinEdit1Text_).value_or(kYearMin);
}

void TForm1::SetSpinEdit1Value(long long value) {
    spinEdit1Text_ = std::to_string(std::clamp<long long>(value, kYearMin, kYearMax));
}

void TForm1::SpinEdit1Edited(std::string text) {
    spinEdit1Text_ = std::move(text);
}

bool TForm1::SpinEdit1KeyAllowed(char key) {
    const bool control = static_cast<unsigned char>(key) < 0x20 && key != '\r';
    return (key >= '0' && key <= '9') || key == '+' || key == '-' ||
           key == platform_.DecimalSeparator() || control;
}

void TForm1::SpinEdit1Exit() {
    const int value = SpinEdit1Value();
    if (value < kYearMin || value > kYearMax) {
        SetSpinEdit1Value(value);
    }
}

void TForm1::SpinEdit1Up() {
    SetSpinEdit1Value(static_cast<long long>(SpinEdit1Value()) + 1);
}

void TForm1::SpinEdit1Down() {
    SetSpinEdit1Value(static_cast<long long>(SpinEdit1Value()) - 1);
}

CalendarRequest TForm1::Request() const {
    CalendarRequest request;
    // The month list gets its selection at the first activation, before any click.
    request.monthIndex = std::clamp(combo2ItemIndex_, 0, 11);
    request.year = SpinEdit1Value();
    request.weekStart = combo1ItemIndex_;
    request.colorWeekends = checkBox1Checked_;
    request.localizedNames = checkBox2Checked_;
    request.pdf = checkBox3Checked_;
    return request;
}

std::string TForm1::GetDate(int position) const {
    return CellText(Request(), position);
}

}  // namespace tessaly
