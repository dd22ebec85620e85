#include "pdfcalendar/pdf_table_texts.h"

#include <algorithm>

#include "core/winansi.h"

namespace tessaly {

PdfCalendarTexts PdfTextsOf(const CalendarDocument& document, const PdfPageGeometry& page) {
    PdfCalendarTexts texts;
    texts.table.assign(document.dayNames.begin(), document.dayNames.end());
    for (const MonthPage& month : document.pages) {
        texts.table.push_back(month.title);
    }
    // Windows-1252 must hold the names themselves: a title is its name and a year.
    texts.tableInWinAnsi =
        std::all_of(texts.table.begin(), texts.table.end(),
                    [](const std::string& text) { return Utf8ToWinAnsi(text).has_value(); });
    if (document.listsEvents) {
        texts.events = ShownEventTextsOfPages(document, page);
    }
    texts.eventsForFace = EventTextsForEmbeddedFace(texts.events);
    return texts;
}

EmbeddingRequest FaceRequestOf(const PdfCalendarTexts& texts) {
    EmbeddingRequest request;
    if (!texts.tableInWinAnsi) {
        request.together = texts.table;
    }
    request.each = texts.eventsForFace;
    return request;
}

PdfTableTexts ChoosePdfTable(const CalendarDocument& document, const PdfCalendarTexts& texts,
                             const EmbeddingResult& faces) {
    PdfTableTexts chosen;
    if (texts.tableInWinAnsi) {
        for (const std::string& text : texts.table) {
            chosen.winAnsi.push_back(*Utf8ToWinAnsi(text));
        }
        chosen.shownTitles.assign(texts.table.begin() + PdfCalendarTexts::kFirstTitle,
                                  texts.table.end());
        return chosen;
    }
    if (faces.together && !faces.fonts.empty()) {
        chosen.glyphs = *faces.together;
        chosen.shownTitles.assign(texts.table.begin() + PdfCalendarTexts::kFirstTitle,
                                  texts.table.end());
        return chosen;
    }
    chosen.winAnsi.assign(kEnglishDayNames.begin(), kEnglishDayNames.end());
    for (const MonthPage& month : document.pages) {
        std::string title = kEnglishMonthNames[static_cast<std::size_t>(month.monthIndex)];
        title += " ";
        title += std::to_string(month.year);
        chosen.shownTitles.push_back(title);
        chosen.winAnsi.push_back(title);
    }
    return chosen;
}

}  // namespace tessaly
