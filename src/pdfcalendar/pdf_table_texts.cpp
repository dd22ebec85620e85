#include "pdfcalendar/pdf_table_texts.h"

#include "core/winansi.h"

namespace tessaly {

PdfTableTexts ChoosePdfTableTexts(const NameTable& names,
                                  const std::vector<CalendarRequest>& months,
                                  const PdfCalendarEnvironment& environment) {
    const auto monthSlot = [](const CalendarRequest& month) {
        return static_cast<std::size_t>(kFirstMonthSlot + month.monthIndex);
    };
    const auto year = [](const CalendarRequest& month) { return " " + std::to_string(month.year); };
    const auto tableTexts = [&](const NameTable& table) {
        std::vector<std::string> texts(table.begin(), table.begin() + 7);
        for (const CalendarRequest& month : months) {
            texts.push_back(table[monthSlot(month)] + year(month));
        }
        return texts;
    };
    const auto windowTitles = [&](const NameTable& table) {
        std::vector<std::string> titles;
        for (const CalendarRequest& month : months) {
            titles.push_back(table[monthSlot(month)] + year(month));
        }
        return titles;
    };

    // Windows-1252 must hold the name itself, not just the code page's bytes of it: a
    // Russian name read in Windows-1251 on a Western machine reads as Latin letters.
    const auto holds = [&](std::size_t slot) {
        const auto winAnsi = environment.toWinAnsi(names[slot]);
        return winAnsi && (!environment.unicodeNames ||
                           Utf8ToWinAnsi((*environment.unicodeNames)[slot]) == winAnsi);
    };
    PdfTableTexts chosen;
    bool allWinAnsi = true;
    for (std::size_t k = 0; k < months.size() && allWinAnsi; ++k) {
        allWinAnsi = holds(monthSlot(months[k]));
    }
    for (std::size_t slot = 0; slot < 7 && allWinAnsi; ++slot) {
        allWinAnsi = holds(slot);
    }
    if (allWinAnsi) {
        chosen.winAnsi = tableTexts(PdfNames(names, environment.toWinAnsi));
        chosen.windowTitles = windowTitles(names);
        return chosen;
    }
    if (environment.embedTexts) {
        auto embedded =
            environment.embedTexts(tableTexts(environment.unicodeNames.value_or(names)));
        if (embedded && embedded->runs.size() == PdfTableTexts::kFirstTitle + months.size()) {
            chosen.embedded = std::move(embedded);
            chosen.windowTitles = windowTitles(names);
            return chosen;
        }
    }
    NameTable english;
    FillDayNames(english, false, {});
    FillMonthNames(english, false, {});
    chosen.winAnsi = tableTexts(english);
    chosen.windowTitles = windowTitles(english);
    return chosen;
}

}  // namespace tessaly
