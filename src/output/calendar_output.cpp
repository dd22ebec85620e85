#include "output/calendar_output.h"

#include "core/errors.h"
#include "core/int_text.h"
#include "core/product.h"
#include "html/html_calendar.h"
#include "pdf/print_pdf.h"
#include "pdfcalendar/pdf_calendar.h"

namespace tessaly {

namespace {

// Saves in the destination's folder, or in its fallback folder when that folder takes
// no new files; returns the path written. A file that cannot be replaced (write-protected,
// a folder in its place, held by a viewer) is reported, not left behind stale.
std::string Save(const CalendarDestination& destination, const std::string& name, ByteSpans bytes,
                 const std::string& writeErrorMessage, CalendarServices& services) {
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
                    const CalendarDestination& destination, const std::string& fileName,
                    CalendarServices& services, const EventCalendar* events) {
    static const Bitmap24 weekendPicture = WeekendPicture();
    TPrintPDF pdf(kMakerName);
    pdf.CreationDate = services.Now();
    pdf.Screen = services.ScreenDpi();
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
        [&] { return services.TitleFontWidths(); },
        [&](int page) { services.PageMade(page, request.months); },
        events,
    };
    const ByteSpans bytes = WritePdfCalendar(pdf, request, names, weekendPicture, environment,
                                             destination.folder + fileName);
    return Save(destination, fileName, bytes, CannotCreateFileMessage(pdf.FileName), services);
}

}  // namespace

std::string CalendarFileName(const CalendarRequest& request) {
    if (request.months <= 1) {
        return request.pdf ? kPdfFileName : kHtmlFileName;
    }
    const char* extension = request.pdf ? ".pdf" : ".html";
    const auto months = MonthsOf(request);
    const auto yearMonth = [](const CalendarRequest& month) {
        return ZeroPadded(static_cast<std::uint64_t>(month.year), 4) + "-" +
               ZeroPadded(static_cast<std::uint64_t>(month.monthIndex + 1), 2);
    };
    return "calendar-" + yearMonth(months.front()) + "-to-" + yearMonth(months.back()) + extension;
}

std::string MakeCalendarFile(const CalendarRequest& request, NameTable& names,
                             std::vector<std::string>& htmlLines,
                             const CalendarDestination& destination, CalendarServices& services,
                             const EventCalendar* events) {
    static const LocaleNames kNoLocaleNames;
    const LocaleNames& locale =
        request.localizedNames ? services.UserLocaleNames() : kNoLocaleNames;
    FillDayNames(names, request.localizedNames, locale);
    FillMonthNames(names, request.localizedNames, locale);

    const std::string fileName = destination.fileName.value_or(CalendarFileName(request));
    if (request.pdf) {
        return MakePdf(request, names, destination, fileName, services, events);
    }
    // Event texts are UTF-8: the names join them in it.
    NameTable utf8Names = names;
    if (events != nullptr) {
        const LocaleNames& localeUtf8 =
            request.localizedNames ? services.UserLocaleNamesUtf8() : kNoLocaleNames;
        FillDayNames(utf8Names, request.localizedNames, localeUtf8);
        FillMonthNames(utf8Names, request.localizedNames, localeUtf8);
    }
    htmlLines = BuildHtmlCalendarLines(
        request, events != nullptr ? utf8Names : names, kProductWebAddress,
        [&](int page) { services.PageMade(page, request.months); }, events);
    return Save(destination, fileName, JoinLinesCrLf(htmlLines), kSaveStreamError, services);
}

}  // namespace tessaly
