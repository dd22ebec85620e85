#include "output/calendar_output.h"

#include "core/errors.h"
#include "core/int_text.h"
#include "core/product.h"
#include "document/calendar_document.h"
#include "html/html_calendar.h"
#include "html/html_year.h"
#include "pdf/print_pdf.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "pdfcalendar/pdf_year.h"
#include "pdfcalendar/standard_font_widths.h"
#include "text/text_calendar.h"

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

// The PDF's table and lines, with faces for what Windows-1252 cannot hold and the titles
// placed: all gathered before drawing.
PdfCalendarLayout LayOutPdf(const CalendarDocument& document, CalendarServices& services) {
    const PdfPageGeometry page = PageGeometryOf(document.paper);
    const PdfCalendarTexts texts = PdfTextsOf(document, page);
    const EmbeddingRequest request = FaceRequestOf(texts);
    // Asked only when something needs the machine's fonts.
    const EmbeddingResult faces =
        request.Empty() ? EmbeddingResult{} : services.EmbedTextsForPdf(request);
    PdfCalendarLayout layout = LayOutPdfCalendar(document, texts, faces);
    std::vector<int> windowWidths;
    for (const std::string& title : layout.table.shownTitles) {
        windowWidths.push_back(services.TextWidthInWindowFont(title));
    }
    // A title the code page holds is measured by the standard font's built-in widths.
    PlaceTitles(layout, HelveticaBoldWinAnsiWidths(), windowWidths);
    return layout;
}

std::string MakePdf(const CalendarDocument& document, const CalendarDestination& destination,
                    const std::string& fileName, CalendarServices& services) {
    const PdfCalendarLayout layout = LayOutPdf(document, services);
    TPrintPDF pdf(kMakerName);
    pdf.FileName = destination.folder + fileName;
    pdf.CreationDate = services.Now();
    pdf.Screen = services.ScreenDpi();

    PdfCalendarRenderer renderer(pdf, document, layout);
    const int pages = static_cast<int>(document.pages.size());
    for (int k = 0; k < pages; ++k) {
        renderer.DrawPage(static_cast<std::size_t>(k));
        services.PageMade(k + 1, pages);
    }
    return Save(destination, fileName, renderer.Finish(), CannotCreateFileMessage(pdf.FileName),
                services);
}

std::string MakeHtml(const CalendarDocument& document, std::vector<std::string>& htmlLines,
                     const CalendarDestination& destination, const std::string& fileName,
                     CalendarServices& services) {
    htmlLines = HtmlHead(document, kProductWebAddress);
    const int pages = static_cast<int>(document.pages.size());
    for (int k = 0; k < pages; ++k) {
        AppendHtmlPage(htmlLines, document, static_cast<std::size_t>(k));
        services.PageMade(k + 1, pages);
    }
    AppendHtmlTail(htmlLines);
    // A page with events, or the locale's own, says it is UTF-8; one without is read in
    // the names' encoding.
    std::string text = JoinLinesCrLf(htmlLines);
    if (!document.listsEvents && !document.regional) {
        text = services.InNamesEncoding(std::move(text));
    }
    return Save(destination, fileName, text, kSaveStreamError, services);
}

// The year page's table in a face where Windows-1252 cannot hold it: asked before drawing.
std::string MakeYearPdf(const CalendarDocument& document, const CalendarDestination& destination,
                        const std::string& fileName, CalendarServices& services) {
    const PdfCalendarTexts texts = PdfYearTextsOf(document);
    const EmbeddingRequest request = YearFaceRequestOf(texts);
    const EmbeddingResult faces =
        request.Empty() ? EmbeddingResult{} : services.EmbedTextsForPdf(request);
    const PdfYearLayout layout = LayOutPdfYear(document, texts, faces);
    TPrintPDF pdf(kMakerName);
    pdf.FileName = destination.folder + fileName;
    pdf.CreationDate = services.Now();
    pdf.Screen = services.ScreenDpi();
    PdfYearRenderer renderer(pdf, document, layout);
    renderer.DrawPage();
    services.PageMade(1, 1);
    return Save(destination, fileName, renderer.Finish(), CannotCreateFileMessage(pdf.FileName),
                services);
}

// Always UTF-8, and says so.
std::string MakeYearHtml(const CalendarDocument& document, std::vector<std::string>& htmlLines,
                         const CalendarDestination& destination, const std::string& fileName,
                         CalendarServices& services) {
    htmlLines = HtmlYearLines(document, kProductWebAddress);
    services.PageMade(1, 1);
    return Save(destination, fileName, JoinLinesCrLf(htmlLines), kSaveStreamError, services);
}

// The names a request shows, in `names`.
void FillNames(const CalendarRequest& request, NameTable& names, CalendarServices& services) {
    static const LocaleNames kNoLocaleNames;
    const LocaleNames& locale =
        request.localizedNames ? services.UserLocaleNames() : kNoLocaleNames;
    FillDayNames(names, request.localizedNames, locale);
    FillMonthNames(names, request.localizedNames, locale);
}

// The terminal columns of every character beyond ASCII of the names, and of a locale's
// titles and digits, as the system measures them.
DisplayColumns MeasuredColumns(const NameTable& names, CalendarServices& services,
                               const CalendarConventions* conventions) {
    std::vector<std::string> texts(names.begin(), names.end());
    if (conventions != nullptr) {
        texts.insert(texts.end(), conventions->digits.begin(), conventions->digits.end());
        for (const auto& [month, title] : conventions->titles) {
            texts.push_back(title);
        }
    }
    const std::u32string characters = CharactersToMeasure(texts);
    if (characters.empty()) {
        return {};
    }
    return DisplayColumns(characters, services.DisplayColumnsOf(characters));
}

}  // namespace

std::string CalendarFileName(const CalendarRequest& request) {
    const char* extension = request.pdf ? ".pdf" : ".html";
    const auto months = MonthsOf(request);
    if (request.layout == Layout::Year && months.front().monthIndex == 0) {
        return "calendar-" + ZeroPadded(static_cast<std::uint64_t>(request.year), 4) + extension;
    }
    if (months.size() <= 1) {
        return request.pdf ? kPdfFileName : kHtmlFileName;
    }
    const auto yearMonth = [](const CalendarRequest& month) {
        return ZeroPadded(static_cast<std::uint64_t>(month.year), 4) + "-" +
               ZeroPadded(static_cast<std::uint64_t>(month.monthIndex + 1), 2);
    };
    return "calendar-" + yearMonth(months.front()) + "-to-" + yearMonth(months.back()) + extension;
}

std::string MakeCalendarFile(const CalendarRequest& request, NameTable& names,
                             std::vector<std::string>& htmlLines,
                             const CalendarDestination& destination, CalendarServices& services,
                             const EventCalendar* events, const CalendarConventions* conventions) {
    FillNames(request, names, services);
    const std::string fileName = destination.fileName.value_or(CalendarFileName(request));
    if (request.layout == Layout::Year) {
        // The initials are cut by the columns their characters take.
        const CalendarDocument document = ComposeCalendar(
            request, names, events, MeasuredColumns(names, services, conventions), conventions);
        return request.pdf ? MakeYearPdf(document, destination, fileName, services)
                           : MakeYearHtml(document, htmlLines, destination, fileName, services);
    }
    const CalendarDocument document =
        ComposeCalendar(request, names, events, DisplayColumns(), conventions);
    if (request.pdf) {
        return MakePdf(document, destination, fileName, services);
    }
    return MakeHtml(document, htmlLines, destination, fileName, services);
}

std::string MakeCalendarText(const CalendarRequest& request, NameTable& names,
                             CalendarServices& services, const EventCalendar* events,
                             const std::optional<LocalDateTime>& today,
                             const CalendarConventions* conventions) {
    FillNames(request, names, services);
    // The names, titles and numbers are what the text aligns; an event line ends its line.
    const DisplayColumns columns = MeasuredColumns(names, services, conventions);
    const CalendarDocument document = ComposeCalendar(request, names, events, columns, conventions);
    std::optional<TextHighlight> highlight;
    if (today) {
        highlight = TextHighlight{today->year, today->month - 1, today->day};
    }
    return TextCalendar(document, columns, highlight);
}

}  // namespace tessaly
