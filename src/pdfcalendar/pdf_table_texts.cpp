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
    texts.firstNumeral = AppendNumerals(texts.table, document);
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
    const auto titlesEnd =
        texts.firstNumeral > 0
            ? texts.table.begin() + static_cast<std::ptrdiff_t>(texts.firstNumeral)
            : texts.table.end();
    if (texts.tableInWinAnsi) {
        for (const std::string& text : texts.table) {
            chosen.winAnsi.push_back(*Utf8ToWinAnsi(text));
        }
        chosen.shownTitles.assign(texts.table.begin() + PdfCalendarTexts::kFirstTitle, titlesEnd);
        chosen.firstNumeral = texts.firstNumeral;
        return chosen;
    }
    if (faces.together && !faces.fonts.empty()) {
        chosen.glyphs = *faces.together;
        chosen.shownTitles.assign(texts.table.begin() + PdfCalendarTexts::kFirstTitle, titlesEnd);
        chosen.firstNumeral = texts.firstNumeral;
        return chosen;
    }
    // In English, and numbers in ASCII digits.
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

std::size_t AppendNumerals(std::vector<std::string>& table, const CalendarDocument& document) {
    if (document.digits.empty()) {
        return 0;
    }
    const std::size_t first = table.size();
    for (int number = 1; number <= kMostNumeral; ++number) {
        table.push_back(document.Numeral(number));
    }
    return first;
}

int TableTextAdvance(const PdfTableTexts& table, std::size_t text, const WinAnsiWidths& widths) {
    if (!table.Embedded()) {
        return WinAnsiAdvance(table.winAnsi[text], widths);
    }
    int advance = 0;
    for (const EmbeddedGlyph& glyph : table.glyphs[text]) {
        advance += glyph.width;
    }
    return advance;
}

}  // namespace tessaly
