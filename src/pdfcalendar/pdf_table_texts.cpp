#include "pdfcalendar/pdf_table_texts.h"

#include <vector>

#include "core/winansi.h"

namespace tessaly {

PdfTableTexts ChoosePdfTableTexts(const NameTable& names, const CalendarRequest& request,
                                  const PdfCalendarEnvironment& environment) {
    const auto monthSlot = static_cast<std::size_t>(kFirstMonthSlot + request.monthIndex);
    std::string year = " ";
    year += std::to_string(request.year);
    const auto tableTexts = [&](const NameTable& table) {
        std::vector<std::string> texts(table.begin(), table.begin() + 7);
        texts.push_back(table[monthSlot] + year);
        return texts;
    };

    // Windows-1252 must hold the name itself, not just the code page's bytes of it: a
    // Russian name read in Windows-1251 on a Western machine reads as Latin letters.
    const auto holds = [&](std::size_t slot) {
        const auto winAnsi = environment.toWinAnsi(names[slot]);
        return winAnsi && (!environment.unicodeNames ||
                           Utf8ToWinAnsi((*environment.unicodeNames)[slot]) == winAnsi);
    };
    PdfTableTexts chosen;
    bool allWinAnsi = holds(monthSlot);
    for (std::size_t slot = 0; slot < 7 && allWinAnsi; ++slot) {
        allWinAnsi = holds(slot);
    }
    if (allWinAnsi) {
        const NameTable shown = PdfNames(names, environment.toWinAnsi);
        const auto texts = tableTexts(shown);
        std::copy(texts.begin(), texts.end(), chosen.winAnsi.begin());
        chosen.windowTitle = names[monthSlot] + year;
        return chosen;
    }
    if (environment.embedTexts) {
        auto embedded =
            environment.embedTexts(tableTexts(environment.unicodeNames.value_or(names)));
        if (embedded && embedded->runs.size() == chosen.winAnsi.size()) {
            chosen.embedded = std::move(embedded);
            chosen.windowTitle = names[monthSlot] + year;
            return chosen;
        }
    }
    for (std::size_t slot = 0; slot < 7; ++slot) {
        chosen.winAnsi[slot] = kEnglishDayNames[slot];
    }
    chosen.windowTitle = kEnglishMonthNames[static_cast<std::size_t>(request.monthIndex)] + year;
    chosen.winAnsi[PdfTableTexts::kTitle] = chosen.windowTitle;
    return chosen;
}

}  // namespace tessaly
