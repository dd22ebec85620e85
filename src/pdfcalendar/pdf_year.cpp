#include "pdfcalendar/pdf_year.h"

#include <algorithm>
#include <string>

#include "core/rounding.h"
#include "core/winansi.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "pdfcalendar/pdf_event_lines.h"
#include "pdfcalendar/standard_font_widths.h"

namespace tessaly {

namespace {

// The standard fonts' faces (TPDFFont::Face).
constexpr std::uint8_t kHelvetica = 0;
constexpr std::uint8_t kHelveticaBold = 1;
constexpr std::uint8_t kHelveticaOblique = 2;

}  // namespace

PdfYearGeometry YearGeometryOf(Paper paper) {
    PdfYearGeometry page;
    if (paper == Paper::A4) {
        page.pageWidth = 842;
        page.pageHeight = 595;
    }
    constexpr int kBottom = 30;
    page.monthWidth = (page.pageWidth - 2 * page.left - 3 * page.gapX) / 4;
    page.left = (page.pageWidth - 4 * page.monthWidth - 3 * page.gapX) / 2;
    page.monthHeight = (page.pageHeight - page.top - kBottom - 2 * page.gapY) / 3;
    page.rowHeight = (page.monthHeight - page.weeksTop - 4) / 6;
    return page;
}

PdfCalendarTexts PdfYearTextsOf(const CalendarDocument& document) {
    PdfCalendarTexts texts;
    texts.table.resize(kYearTitle + 1);
    if (document.year) {
        for (const GridColumn& column : document.year->months.front().columns) {
            texts.table[static_cast<std::size_t>(column.weekday)] = column.initials;
        }
        for (std::size_t k = 0; k < kMonthsOfYearPage; ++k) {
            texts.table[kYearFirstName + k] = document.year->months[k].name;
        }
        texts.table[kYearTitle] = document.year->title;
        texts.firstNumeral = AppendNumerals(texts.table, document);
    }
    texts.tableInWinAnsi =
        std::all_of(texts.table.begin(), texts.table.end(),
                    [](const std::string& text) { return Utf8ToWinAnsi(text).has_value(); });
    return texts;
}

EmbeddingRequest YearFaceRequestOf(const PdfCalendarTexts& texts) {
    return FaceRequestOf(texts);
}

PdfTableTexts ChooseYearTable(const CalendarDocument& document, const PdfCalendarTexts& texts,
                              const EmbeddingResult& faces) {
    PdfTableTexts chosen;
    if (texts.tableInWinAnsi) {
        for (const std::string& text : texts.table) {
            chosen.winAnsi.push_back(*Utf8ToWinAnsi(text));
        }
        chosen.firstNumeral = texts.firstNumeral;
        return chosen;
    }
    if (faces.together && !faces.fonts.empty() && faces.together->size() == texts.table.size()) {
        chosen.glyphs = *faces.together;
        chosen.firstNumeral = texts.firstNumeral;
        return chosen;
    }
    for (const char* name : kEnglishShortDayNames) {
        chosen.winAnsi.push_back(std::string(name).substr(0, 2));
    }
    if (document.year) {
        for (const MonthPage& month : document.year->months) {
            chosen.winAnsi.push_back(
                kEnglishMonthNames[static_cast<std::size_t>(month.monthIndex)]);
        }
    }
    chosen.winAnsi.resize(kYearTitle);
    // Numbers in ASCII digits, the title's years among them.
    std::string title = texts.table[kYearTitle];
    if (document.year && !document.digits.empty()) {
        const auto& months = document.year->months;
        title = std::to_string(months.front().year);
        if (months.back().year != months.front().year) {
            title += "\xE2\x80\x93";  // an en dash
            title += std::to_string(months.back().year);
        }
    }
    chosen.winAnsi.push_back(Utf8ToWinAnsiReplacing(title));
    return chosen;
}

PdfYearLayout LayOutPdfYear(const CalendarDocument& document, const PdfCalendarTexts& texts,
                            const EmbeddingResult& faces) {
    PdfYearLayout layout;
    layout.page = YearGeometryOf(document.paper);
    layout.table = ChooseYearTable(document, texts, faces);
    if (layout.table.Embedded()) {
        layout.fonts = faces.fonts;
    }
    return layout;
}

PdfYearRenderer::PdfYearRenderer(TPrintPDF& pdf, const CalendarDocument& document,
                                 const PdfYearLayout& layout)
    : pdf_(pdf), document_(document), layout_(layout) {
    BeginCalendarFile(pdf_, layout_.page.pageWidth, layout_.page.pageHeight, layout_.fonts);
}

void PdfYearRenderer::DrawPage() {
    if (!document_.year) {
        return;
    }
    const PdfYearGeometry& page = layout_.page;
    DrawCentred(kYearTitle, 0, page.pageWidth, page.titleBaseline, page.titleSize, true);
    for (std::size_t k = 0; k < document_.year->months.size(); ++k) {
        DrawMonth(document_.year->months[k], k);
    }
}

ByteSpans PdfYearRenderer::Finish() {
    return pdf_.EndDocument();
}

void PdfYearRenderer::DrawMonth(const MonthPage& month, std::size_t k) {
    const PdfYearGeometry& page = layout_.page;
    const bool rightToLeft = document_.rightToLeft;
    // Right to left, the months of a row start at the right, and so do their days.
    const int place = static_cast<int>(k % 4);
    const int left = page.left + (rightToLeft ? 3 - place : place) * (page.monthWidth + page.gapX);
    const int top = page.top + static_cast<int>(k / 4) * (page.monthHeight + page.gapY);
    // With week numbers a narrow first column, three quarters of a day's: at the left, or
    // at the right of a right-to-left month.
    const bool weeks = document_.weekNumbers;
    const int dayWidth = weeks ? page.monthWidth * 4 / 31 : page.monthWidth / 7;
    const int weekWidth = weeks ? dayWidth * 3 / 4 : 0;
    const int margin = (page.monthWidth - weekWidth - 7 * dayWidth) / 2;
    const int daysLeft = left + margin + (rightToLeft ? 0 : weekWidth);
    const int weeksTop = top + page.weeksTop;
    const int bottom = weeksTop + 6 * page.rowHeight;
    const auto columnLeft = [&](int c) { return daysLeft + (rightToLeft ? 6 - c : c) * dayWidth; };

    if (document_.colorWeekends) {
        for (int c = 0; c < 7; ++c) {
            if (month.columns[static_cast<std::size_t>(c)].weekend) {
                const int x = columnLeft(c);
                pdf_.FillRectangle(x, weeksTop - page.initialsSize - 8, x + dayWidth, bottom,
                                   static_cast<std::uint8_t>(page.weekendLevel));
            }
        }
    }
    DrawCentred(kYearFirstName + k, left + margin, weekWidth + 7 * dayWidth,
                top + page.nameBaseline, page.nameSize, true);
    for (int c = 0; c < 7; ++c) {
        DrawCentred(static_cast<std::size_t>(month.columns[static_cast<std::size_t>(c)].weekday),
                    columnLeft(c), dayWidth, top + page.initialsBaseline, page.initialsSize, false);
    }
    const WinAnsiWidths& regular = HelveticaWidths();
    if (weeks) {
        pdf_.Font.Face = kHelveticaOblique;
        pdf_.Font.Size = page.weekNumberSize;
        const int right = (rightToLeft ? daysLeft + 7 * dayWidth + weekWidth : daysLeft) -
                          page.numberRightRoom / 2;
        const auto drawRight = [&](const std::string& text, int baseline) {
            const int advance = WinAnsiAdvance(text, regular);
            pdf_.DrawText(right - RoundedHalfToEven(advance * page.weekNumberSize, 1000), baseline,
                          text);
        };
        drawRight("Wk", top + page.initialsBaseline);
        for (int r = 0; r < 6; ++r) {
            const int week = month.weekNumbers[static_cast<std::size_t>(r)];
            const int baseline = weeksTop + r * page.rowHeight + page.numberBaseline;
            if (week > 0 && layout_.table.firstNumeral > 0) {
                DrawNumeral(week, right, baseline, page.weekNumberSize);
            } else if (week > 0) {
                drawRight(std::to_string(week), baseline);
            }
        }
    }
    pdf_.Font.Size = page.numberSize;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 7; ++c) {
            const DayCell& cell = month.Cell(r, c);
            if (cell.day == 0) {
                continue;
            }
            const bool marked = !cell.events.lines.empty();
            const int right = columnLeft(c) + dayWidth - page.numberRightRoom;
            const int baseline = weeksTop + r * page.rowHeight + page.numberBaseline;
            // Digits are as wide in Helvetica-Bold as in Helvetica.
            pdf_.Font.Face = marked ? kHelveticaBold : kHelvetica;
            int width = 0;
            if (layout_.table.firstNumeral > 0) {
                width = DrawNumeral(cell.day, right, baseline, page.numberSize);
            } else {
                const std::string shown =
                    document_.digits.empty() ? cell.text : std::to_string(cell.day);
                width = RoundedHalfToEven(WinAnsiAdvance(shown, regular) * page.numberSize, 1000);
                pdf_.DrawText(right - width, baseline, shown);
            }
            if (marked) {
                pdf_.DrawLine(right - width, baseline + 2, right, baseline + 2);
            }
        }
    }
}

int PdfYearRenderer::DrawNumeral(int number, int right, int baseline, int size) {
    const std::size_t numeral = layout_.table.Numeral(number);
    const int width =
        RoundedHalfToEven(TableTextAdvance(layout_.table, numeral, HelveticaWidths()) * size, 1000);
    pdf_.Font.Size = size;
    DrawTableText(right - width, baseline, numeral);
    return width;
}

int PdfYearRenderer::Advance(std::size_t text, bool bold) const {
    if (layout_.table.Embedded()) {
        int advance = 0;
        for (const EmbeddedGlyph& glyph : layout_.table.glyphs[text]) {
            advance += glyph.width;
        }
        return advance;
    }
    return WinAnsiAdvance(layout_.table.winAnsi[text],
                          bold ? HelveticaBoldWinAnsiWidths() : HelveticaWidths());
}

void PdfYearRenderer::DrawCentred(std::size_t text, int left, int width, int baseline, int size,
                                  bool bold) {
    pdf_.Font.Face = bold ? kHelveticaBold : kHelvetica;
    pdf_.Font.Size = size;
    const int x = left + RoundedHalfToEven(width * 1000 - size * Advance(text, bold), 2000);
    DrawTableText(x, baseline, text);
}

void PdfYearRenderer::DrawTableText(int x, int y, std::size_t text) {
    if (layout_.table.Embedded()) {
        pdf_.DrawGlyphs(x, y, layout_.table.glyphs[text]);
    } else {
        pdf_.DrawText(x, y, layout_.table.winAnsi[text]);
    }
}

ByteSpans DrawPdfYear(TPrintPDF& pdf, const CalendarDocument& document,
                      const EmbeddingResult& faces) {
    const PdfYearLayout layout = LayOutPdfYear(document, PdfYearTextsOf(document), faces);
    PdfYearRenderer renderer(pdf, document, layout);
    renderer.DrawPage();
    return renderer.Finish();
}

}  // namespace tessaly
