#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "calendar/names.h"
#include "document/calendar_document.h"
#include "pdfcalendar/pdf_calendar_renderer.h"
#include "pdfcalendar/pdf_year.h"
#include "support/english_names.h"
#include "support/pdf_checks.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

using test::EnglishNames;

// Sakamoto's weekday of a date, 0 Sunday: a rule of its own, not the program's.
int Weekday(int year, int month, int day) {
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = month < 3 ? year - 1 : year;
    return (y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + day) % 7;
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// One landscape page that qpdf, pdftotext and Ghostscript accept, small, with twelve
// months of days each where its weekday puts it (read back with pdftotext), weekend
// columns shaded by filled rectangles (rendered with pdftoppm), week numbers in their
// narrow column, and a day with events in bold.
TEST(PdfYear, TwelveMonthsOfDaysInTheirColumnsOnOneSmallPage) {
    struct Case {
        CalendarRequest request;
        bool events;
    };
    const Case cases[] = {
        {{0, 2027, 1, true}, false},
        {{8, 2026, 0, true, false, true, Paper::A4, 1, true}, true},
        {{0, 2100, 0, false, false, true, Paper::Letter, 1, true}, false},
        {{0, 1900, 1, false, false, true, Paper::A4}, false},
    };
    for (Case c : cases) {
        c.request.layout = Layout::Year;
        SCOPED_TRACE(std::to_string(c.request.year) + "-" +
                     std::to_string(c.request.monthIndex + 1));
        EventList list;
        list.titles = {"Review"};
        const std::int32_t day = DayNumberOf(2026, 10, 3);
        list.occurrences = {{day, day, 9 * 60, 0}};
        const EventCalendar events = ArrangeEvents(list, DaysOf(c.request), TwentyFourHourTime);
        TPrintPDF pdf("Orvanta");
        const std::string bytes =
            DrawPdfYear(
                pdf, ComposeCalendar(c.request, EnglishNames(), c.events ? &events : nullptr), {})
                .Joined();
        const PdfYearGeometry page = YearGeometryOf(c.request.paper);
        EXPECT_EQ(test::CountOf(bytes, "/Type /Page\r\n"), 1u);
        EXPECT_EQ(test::CountOf(bytes, "/MediaBox [ 0 0 " + std::to_string(page.pageWidth) + " " +
                                           std::to_string(page.pageHeight) + "]"),
                  1u);
        EXPECT_EQ(test::CountOf(bytes, "/Subtype /Image"), 0u);
        EXPECT_EQ(test::CountOf(bytes, " re\r\nf\r\n"), c.request.colorWeekends ? 24u : 0u);
        EXPECT_EQ(test::CountOf(bytes, "/F2 8 Tf"), c.events ? 1u : 0u);  // the day with events
        EXPECT_LT(bytes.size(), 60u * 1024);

        test::TempFolder folder;
        const auto path = folder.path() / "year.pdf";
        test::WriteWholeFile(path, bytes);
        EXPECT_EQ(test::OutsideCheckFailures(path), "");
        const auto words = test::WordBoxes(path);
        if (!words) {
            continue;
        }
        // Where each day stands: its month's box, then its row and column in the grid.
        const bool weeks = c.request.weekNumbers;
        const int dayWidth = weeks ? page.monthWidth * 4 / 31 : page.monthWidth / 7;
        const int weekWidth = weeks ? dayWidth * 3 / 4 : 0;
        std::map<std::pair<int, int>, int> days;  // (month, day) -> words found there
        int weekNumbers = 0;
        for (const test::WordBox& word : *words) {
            const int x = static_cast<int>(word.xMin);
            const int y = static_cast<int>(word.yMax);
            const int k = (x - page.left) / (page.monthWidth + page.gapX) +
                          4 * ((y - page.top) / (page.monthHeight + page.gapY));
            const int left = page.left + (k % 4) * (page.monthWidth + page.gapX);
            const int top = page.top + (k / 4) * (page.monthHeight + page.gapY) + page.weeksTop;
            const int daysLeft =
                left + (page.monthWidth - weekWidth - 7 * dayWidth) / 2 + weekWidth;
            if (y < top || word.text.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            if (x < daysLeft) {
                ++weekNumbers;
                continue;
            }
            const int month = (c.request.monthIndex + k) % 12 + 1;
            const int year = c.request.year + (c.request.monthIndex + k) / 12;
            const int number = std::stoi(word.text);
            const int firstColumn =
                (Weekday(year, month, 1) + (c.request.weekStart == 0 ? 6 : 0)) % 7;
            const int position = firstColumn + number - 1;
            EXPECT_EQ((x - daysLeft) / dayWidth, position % 7)
                << year << "-" << month << "-" << number;
            EXPECT_EQ((y - top) / page.rowHeight, position / 7)
                << year << "-" << month << "-" << number;
            ++days[{k, number}];
        }
        for (int k = 0; k < 12; ++k) {
            const int month = (c.request.monthIndex + k) % 12 + 1;
            const int year = c.request.year + (c.request.monthIndex + k) / 12;
            for (int number = 1; number <= DaysIn(year, month); ++number) {
                EXPECT_EQ((days[{k, number}]), 1) << year << "-" << month << "-" << number;
            }
        }
        EXPECT_EQ(weekNumbers > 12 * 4, weeks);

#ifndef _WIN32
        // Rendered at 72 DPI: a point a pixel, grey in the weekend columns, white elsewhere.
        const auto render = folder.path() / "page";
        const std::string command = "pdftoppm -r 72 -gray -aa no -aaVector no -singlefile " +
                                    path.string() + " " + render.string();
        if (std::system(command.c_str()) != 0) {
            continue;
        }
        const std::string pgm = test::ReadWholeFile(render.string() + ".pgm");
        const std::string header = "P5\n" + std::to_string(page.pageWidth) + " " +
                                   std::to_string(page.pageHeight) + "\n255\n";
        ASSERT_TRUE(pgm.starts_with(header));
        for (int k = 0; k < 12; ++k) {
            const int left = page.left + (k % 4) * (page.monthWidth + page.gapX);
            const int daysLeft =
                left + (page.monthWidth - weekWidth - 7 * dayWidth) / 2 + weekWidth;
            const int y = page.top + (k / 4) * (page.monthHeight + page.gapY) + page.weeksTop +
                          6 * page.rowHeight - 2;
            for (int column = 0; column < 7; ++column) {
                const int weekday = (column + (c.request.weekStart == 0 ? 1 : 0)) % 7;
                const bool shaded = c.request.colorWeekends && (weekday == 0 || weekday == 6);
                const int x = daysLeft + column * dayWidth + 2;
                EXPECT_EQ(static_cast<unsigned char>(pgm[header.size() + y * page.pageWidth + x]),
                          shaded ? 192 : 255)
                    << "month " << k << " column " << column;
            }
        }
#endif
    }
}

// "123/242" in small type in the upper right corner of each day cell of a month page.
TEST(PdfYear, MonthPagesShowTheDayOfTheYearInTheUpperRightCorner) {
    for (const Paper paper : {Paper::Letter, Paper::A4}) {
        CalendarRequest request{4, 2027, 1};
        request.paper = paper;
        request.dayOfYear = true;
        TPrintPDF pdf("Orvanta");
        const std::string bytes =
            DrawPdfCalendar(pdf, ComposeCalendar(request, EnglishNames(), nullptr), {}, 90)
                .Joined();
        test::TempFolder folder;
        const auto path = folder.path() / "may.pdf";
        test::WriteWholeFile(path, bytes);
        EXPECT_EQ(test::OutsideCheckFailures(path), "");
        const auto words = test::WordBoxes(path);
        if (!words) {
            continue;
        }
        const PdfPageGeometry geometry = PageGeometryOf(paper);
        int found = 0;
        for (const test::WordBox& word : *words) {
            const auto slash = word.text.find('/');
            if (slash == std::string::npos) {
                continue;
            }
            const int dayOfYear = std::stoi(word.text.substr(0, slash));
            EXPECT_EQ(dayOfYear + std::stoi(word.text.substr(slash + 1)), 365) << word.text;
            // May 2027 begins on a Saturday, the last column.
            const int position = 6 + dayOfYear - 121;
            const int left = geometry.gridLeft + geometry.columnWidth * (position % 7);
            const int top = geometry.gridTop + geometry.rowHeight * (position / 7);
            EXPECT_GT(word.xMin, left + geometry.columnWidth / 2) << word.text;
            EXPECT_LT(word.xMin, left + geometry.columnWidth) << word.text;
            EXPECT_GT(word.yMin, top) << word.text;
            EXPECT_LT(word.yMax, top + 14) << word.text;
            ++found;
        }
        EXPECT_EQ(found, 31);
    }
}

}  // namespace
}  // namespace tessaly
