#include "output/calendar_output.h"

#include "core/errors.h"
#include "core/product.h"
#include "html/html_calendar.h"
#include "pdf/print_pdf.h"
#include "pdfcalendar/pdf_calendar.h"

namespace tessaly {

namespace {

// Saves in the destination's folder, or in its fallback folder when that folder takes
// no new files; returns the path written. A file that cannot be replaced (write-protected,
// a folder in its place, held by a viewer) is reported, not left behind stale.
std::string Save(const CalendarDestination& destination, const std::string& name,
                 std::string_view bytes, const std::string& writeErrorMessage,
                 CalendarServices& services) {
    const std::string path = destination.folder + name;
    try {
        services.SaveFile(path, bytes, writeErrorMessage);
        return path;
    } catch (const FileCreateError& error) {
        const auto& fallback = destination.fallbackFolder;
        if (!error.folderClosed() || !fallback || *fallback + name == path) {
            throw;
        }
        services.SaveFile(*fallback + name, bytes, writeErrorMessage);
        return *fallback + name;
    }
}

std::string MakePdf(const CalendarRequest& request, const NameTable& names,
                    const CalendarDestination& destination, CalendarServices& services) {
    static const Bitmap24 weekendPicture = WeekendPicture();
    std::string written;
    TPrintPDF pdf(PdfWriterServices{
        [&] { return services.Now(); },
        [&] { return services.ScreenDpi(); },
        [&](const std::string& path, std::string_view bytes) {
            written =
                Save(destination, kPdfFileName, bytes, CannotCreateFileMessage(path), services);
        },
    });
    // The names again in UTF-8, for an embedded font where Windows-1252 cannot hold them.
    static const LocaleNames kNoLocaleNames;
    NameTable unicodeNames;
    const LocaleNames& localeUtf8 =
        request.localizedNames ? services.UserLocaleNamesUtf8() : kNoLocaleNames;
    FillDayNames(unicodeNames, request.localizedNames, localeUtf8);
    FillMonthNames(unicodeNames, request.localizedNames, localeUtf8);
    const PdfCalendarEnvironment environment{
        [&](const std::string& text) { return services.TextWidthInWindowFont(text); },
        [&](std::string_view text) { return services.ToWinAnsi(text); },
        [&](const std::vector<std::string>& texts) { return services.EmbedTextsForPdf(texts); },
        unicodeNames,
    };
    WritePdfCalendar(pdf, request, names, weekendPicture, environment,
                     destination.folder + kPdfFileName);
    return written;
}

}  // namespace

std::string MakeCalendarFile(const CalendarRequest& request, NameTable& names,
                             std::vector<std::string>& htmlLines,
                             const CalendarDestination& destination, CalendarServices& services) {
    static const LocaleNames kNoLocaleNames;
    const LocaleNames& locale =
        request.localizedNames ? services.UserLocaleNames() : kNoLocaleNames;
    FillDayNames(names, request.localizedNames, locale);
    FillMonthNames(names, request.localizedNames, locale);

    if (request.pdf) {
        return MakePdf(request, names, destination, services);
    }
    htmlLines = BuildHtmlCalendarLines(request, names, kProductWebAddress);
    return Save(destination, kHtmlFileName, JoinLinesCrLf(htmlLines), kSaveStreamError, services);
}

}  // namespace tessaly
