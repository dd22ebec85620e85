#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/fake_platform.h"
#include "app/form1.h"
#include "core/product.h"
#include "document/calendar_document.h"
#include "html/html_calendar.h"

namespace tessaly {
namespace {

using Type = SettingsKey::ValueType;
const std::string kKey = kSettingsKey;

// A window as the program starts it: created, then shown once.
struct StartedWindow {
    test::FakePlatform platform;
    TForm1 form{platform};

    void Start() {
        form.FormCreate();
        form.FormActivate();
    }
    std::string StoredText(const std::string& name) {
        const auto& values = platform.settings.keys[kKey];
        const auto found = values.find(name);
        return found == values.end() ? "<none>" : found->second.data;
    }
    std::filesystem::path ProgramFile(const char* name) {
        return platform.programFolder.path() / name;
    }
};

TEST(Form1, FirstRunShowsTodayAndTheDefaultsAndLeavesAnEmptyKey) {
    StartedWindow w;
    w.Start();
    EXPECT_EQ(w.form.Combo2ItemIndex(), 11);  // December
    EXPECT_EQ(w.form.SpinEdit1Text(), "2026");
    EXPECT_EQ(w.form.Combo1ItemIndex(), 1);  // Sunday
    EXPECT_FALSE(w.form.CheckBox1Checked());
    EXPECT_FALSE(w.form.CheckBox2Checked());
    EXPECT_FALSE(w.form.CheckBox3Checked());
    EXPECT_FALSE(w.form.Panel1Color());
    EXPECT_EQ(w.form.Names()[kWeekendColorSlot], "c0c0c0");
    EXPECT_EQ(w.platform.settings.keys.count(kKey), 1u);
    EXPECT_TRUE(w.platform.settings.keys[kKey].empty());
    EXPECT_TRUE(w.platform.errorBoxes.empty());
}

TEST(Form1, StoredChoicesComeBackAndOnlyExactOnesTick) {
    struct Case {
        std::string weekStart, localized, pdf;
        int combo1;
        bool checkBox2, checkBox3;
    };
    const Case cases[] = {
        {"0", "1", "1", 0, true, true},
        {"1", "2", "0", 1, false, false},
        {"5", "0", "-1", -1, false, false},
        {" 1", "$1", "01", 1, true, true},
    };
    for (const auto& c : cases) {
        StartedWindow w;
        w.platform.settings.PutString(kKey, "WeekStart", c.weekStart);
        w.platform.settings.PutString(kKey, "Localized", c.localized, Type::ExpandString);
        w.platform.settings.PutString(kKey, "PDF", c.pdf);
        w.Start();
        EXPECT_EQ(w.form.Combo1ItemIndex(), c.combo1) << c.weekStart;
        EXPECT_EQ(w.form.CheckBox2Checked(), c.checkBox2) << c.localized;
        EXPECT_EQ(w.form.CheckBox3Checked(), c.checkBox3) << c.pdf;
        // Ticking from the program writes the value back at once, as a plain string.
        if (c.checkBox2) {
            EXPECT_EQ(w.platform.settings.keys[kKey]["Localized"].type, Type::String);
            EXPECT_EQ(w.StoredText("Localized"), std::string("1\0", 2));
        } else {
            EXPECT_EQ(w.platform.settings.keys[kKey]["Localized"].type, Type::ExpandString);
        }
    }
}

TEST(Form1, AStrayWeekStartLeavesNoSelectionUntilTheUserPicks) {
    StartedWindow w;
    w.platform.settings.PutString(kKey, "WeekStart", "5");
    w.Start();
    ASSERT_EQ(w.form.Combo1ItemIndex(), -1);
    // Meanwhile grid and names row agree on the Sunday reading.
    w.form.Combo2Select(1);
    w.form.SpinEdit1Edited("2026");
    EXPECT_EQ(w.form.GetDate(1), "1");  // 1 February 2026 is a Sunday
    w.form.Button1Click();
    EXPECT_EQ(w.form.HTML()[17], " class=\"weekend\"");
    EXPECT_EQ(w.form.HTML()[18], ">Sunday<br></td>");

    w.form.Combo1Select(0);
    EXPECT_EQ(w.StoredText("WeekStart"), std::string("0\0", 2));
    EXPECT_EQ(w.form.GetDate(1), "");
    EXPECT_EQ(w.form.GetDate(7), "1");
}

TEST(Form1, TodayOutsideTheRangeIsClamped) {
    const std::pair<int, const char*> cases[] = {{2150, "2100"}, {1850, "1900"}, {2100, "2100"}};
    for (const auto& [year, shown] : cases) {
        StartedWindow w;
        w.platform.now.year = year;
        w.Start();
        EXPECT_EQ(w.form.SpinEdit1Text(), shown);
    }
}

TEST(Form1, ANumberValueEndsTheActivationWithTheErrorBox) {
    StartedWindow w;
    w.platform.settings.keys[kKey]["WeekStart"] = {Type::Other, std::string("\0\0\0\0", 4)};
    w.platform.settings.PutString(kKey, "Localized", "1");
    w.platform.settings.PutString(kKey, "PDF", "1");
    w.Start();
    EXPECT_EQ(w.platform.errorBoxes, std::vector<std::string>{"Invalid data type for 'WeekStart'"});
    EXPECT_EQ(w.form.Combo2ItemIndex(), 11);
    EXPECT_EQ(w.form.Combo1ItemIndex(), -1);
    EXPECT_EQ(w.form.SpinEdit1Text(), "2000");
    EXPECT_FALSE(w.form.CheckBox2Checked());
    EXPECT_FALSE(w.form.CheckBox3Checked());
    // A second activation (after a dialog, say) does not run it again.
    w.form.FormActivate();
    EXPECT_EQ(w.platform.errorBoxes.size(), 1u);
}

TEST(Form1, CreateAndViewWritesThePageAndOpensIt) {
    StartedWindow w;
    w.Start();
    w.form.Combo2Select(1);
    w.form.SpinEdit1Edited("2021");
    w.form.Combo1Select(0);
    w.form.Button1Click();
    const auto path = w.ProgramFile("calendar.html");
    EXPECT_EQ(w.platform.opened, std::vector<std::string>{path.string()});
    CalendarRequest request{1, 2021, 0};
    NameTable names;
    FillDayNames(names, false, {});
    FillMonthNames(names, false, {});
    names[kWeekendColorSlot] = "c0c0c0";
    const auto expected =
        HtmlCalendarLines(ComposeCalendar(request, names, nullptr), kProductWebAddress);
    EXPECT_EQ(w.form.HTML(), expected);
    EXPECT_EQ(test::ReadWholeFile(path), JoinLinesCrLf(expected));
    EXPECT_EQ(w.platform.programFolder.entries(), std::vector<std::string>{"calendar.html"});
}

TEST(Form1, ThePdfChoiceLeavesTheHtmlAlone) {
    StartedWindow w;
    w.Start();
    w.form.Button1Click();
    const auto html = w.form.HTML();
    const std::string htmlBytes = test::ReadWholeFile(w.ProgramFile("calendar.html"));

    w.form.Combo2Select(0);
    w.form.CheckBox3Set(true);
    EXPECT_EQ(w.StoredText("PDF"), std::string("1\0", 2));
    w.form.Button1Click();
    EXPECT_EQ(w.form.HTML(), html);
    EXPECT_EQ(test::ReadWholeFile(w.ProgramFile("calendar.html")), htmlBytes);
    const auto pdf = test::ReadWholeFile(w.ProgramFile("calendar.pdf"));
    EXPECT_TRUE(pdf.starts_with("%PDF-1.4\r\n"));
    EXPECT_NE(pdf.find("(January 2026) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("/CreationDate (D:20261208174530)"), std::string::npos);
    EXPECT_EQ(w.platform.opened.back(), w.ProgramFile("calendar.pdf").string());

    w.form.CheckBox3Set(false);
    EXPECT_EQ(w.StoredText("PDF"), std::string("0\0", 2));
}

TEST(Form1, ColourPickingTicksTheBoxAndKeepsItsColour) {
    StartedWindow w;
    w.Start();
    std::vector<ColorValue> initials;
    std::optional<ColorValue> answer;
    w.platform.picker = [&](ColorValue initial, std::array<ColorValue, 16>& custom) {
        initials.push_back(initial);
        custom[0] = 0x123456;  // the user edits a custom colour either way
        return answer;
    };

    w.form.Button5Click();  // cancelled
    EXPECT_FALSE(w.form.Panel1Color());
    EXPECT_FALSE(w.form.CheckBox1Checked());
    EXPECT_EQ(w.form.Names()[kWeekendColorSlot], "c0c0c0");

    answer = ColorFromRgb(0xFF, 0x80, 0x00);
    w.form.Button5Click();
    EXPECT_EQ(w.form.Panel1Color(), answer);
    EXPECT_TRUE(w.form.CheckBox1Checked());
    EXPECT_EQ(w.form.Names()[kWeekendColorSlot], "FF8000");

    w.form.CheckBox1Set(false);
    w.form.Button1Click();
    EXPECT_EQ(w.form.HTML().size(), 91u);
    w.form.CheckBox1Set(true);
    w.form.Button1Click();
    EXPECT_EQ(w.form.HTML()[9].substr(0, 35), "  td.weekend {background: #FF8000; ");

    // The picker starts on the weekend colour: silver before the first pick (a first OK
    // keeps the shading readable), then the last pick; custom colours survive only an OK.
    answer = std::nullopt;
    std::array<ColorValue, 16> seen{};
    w.platform.picker = [&](ColorValue initial, std::array<ColorValue, 16>& custom) {
        initials.push_back(initial);
        seen = custom;
        return answer;
    };
    w.form.Button5Click();
    const ColorValue silver = ColorFromRgb(0xC0, 0xC0, 0xC0);
    EXPECT_EQ(initials, (std::vector<ColorValue>{silver, silver, ColorFromRgb(0xFF, 0x80, 0x00)}));
    EXPECT_EQ(seen[0], 0x123456);
    EXPECT_EQ(seen[1], 0xFFFFFF);
    EXPECT_TRUE(w.platform.settings.keys[kKey].empty());  // colours are not remembered
}

TEST(Form1, TheYearFieldReadsClampsAndSteps) {
    struct Case {
        const char* typed;
        const char* afterExit;
        int year;
    };
    const Case cases[] = {
        {"12.5", "12.5", 1900}, {"1800", "1900", 1900}, {"9999", "2100", 2100},
        {"", "", 1900},         {"-", "-", 1900},       {"2042", "2042", 2042},
        {"-5", "1900", 1900},   {"+203", "1900", 1900},
    };
    for (const auto& c : cases) {
        StartedWindow w;
        w.Start();
        w.form.SpinEdit1Edited(c.typed);
        EXPECT_EQ(w.form.SpinEdit1Text(), c.typed);
        w.form.SpinEdit1Exit();
        EXPECT_EQ(w.form.SpinEdit1Text(), c.afterExit) << c.typed;
        EXPECT_EQ(w.form.Request().year, c.year) << c.typed;
    }

    StartedWindow w;
    w.Start();
    w.form.SpinEdit1Edited("12.5");
    w.form.Button1Click();
    EXPECT_EQ(w.form.HTML()[2], "<title>December 1900 calendar created with Tessaly</title>");
    EXPECT_EQ(w.form.SpinEdit1Text(), "12.5");

    const std::tuple<const char*, bool, const char*> steps[] = {
        {"2100", true, "2100"}, {"2099", true, "2100"}, {"1900", false, "1900"},
        {"12.5", true, "1901"}, {"1800", true, "1900"}, {"abc", false, "1900"},
    };
    for (const auto& [text, up, after] : steps) {
        w.form.SpinEdit1Edited(text);
        up ? w.form.SpinEdit1Up() : w.form.SpinEdit1Down();
        EXPECT_EQ(w.form.SpinEdit1Text(), after) << text;
    }
}

TEST(Form1, TheYearFieldAcceptsOnlyNumberKeys) {
    StartedWindow w;
    w.platform.decimalSeparator = ',';
    for (char key : {'0', '5', '9', '+', '-', ',', '\b', '\x03', '\x16', '\x18'}) {
        EXPECT_TRUE(w.form.SpinEdit1KeyAllowed(key)) << int(key);
    }
    for (char key : {'a', 'x', '$', ' ', '.', '\r', '/', ':', '\x7F'}) {
        EXPECT_FALSE(w.form.SpinEdit1KeyAllowed(key)) << int(key);
    }
}

TEST(Form1, TheAboutMessageOpensTheMakersAddressOnlyOnOk) {
    StartedWindow w;
    w.Start();
    w.form.Image1Click();
    EXPECT_TRUE(w.platform.opened.empty());
    w.platform.aboutAnswer = true;
    w.form.Image1Click();
    EXPECT_EQ(w.platform.opened, std::vector<std::string>{kMakerWebAddress});
    EXPECT_EQ(w.platform.aboutBoxes.at(0),
              std::string("Tessaly version 3.5\r\r") + kMakerNotice + "\r" + kMakerWebAddress +
                  "\r" + kProductWebAddress +
                  "\r\rVisit Orvanta web site for more information and other interesting "
                  "programs.");
    w.form.StatusBar1Click();
    EXPECT_EQ(w.platform.opened.size(), 2u);
}

TEST(Form1, AFailedWriteKeepsTheNewStateAndShowsTheError) {
    StartedWindow w;
    w.Start();
    w.platform.settings.refuseWrites = true;
    w.form.CheckBox3Set(true);
    w.form.CheckBox2Set(true);
    w.form.Combo1Select(0);
    EXPECT_TRUE(w.form.CheckBox3Checked());
    EXPECT_TRUE(w.form.CheckBox2Checked());
    EXPECT_EQ(w.form.Combo1ItemIndex(), 0);
    EXPECT_EQ(w.platform.errorBoxes,
              (std::vector<std::string>{"Failed to set data for 'PDF'",
                                        "Failed to set data for 'Localized'",
                                        "Failed to set data for 'WeekStart'"}));
    EXPECT_TRUE(w.platform.settings.keys[kKey].empty());
    // The window goes on working.
    w.form.Button1Click();
    EXPECT_TRUE(std::filesystem::exists(w.ProgramFile("calendar.pdf")));
}

TEST(Form1, CalendarsGoToTheDocumentsFolderWhenTheProgramsFolderIsClosed) {
    for (bool pdf : {false, true}) {
        StartedWindow w;
        w.Start();
        w.form.CheckBox3Set(pdf);
        const std::string name = pdf ? "calendar.pdf" : "calendar.html";
        w.platform.closedFolders = {w.platform.programFolderPath};
        w.form.Button1Click();
        const std::string fallback = *w.platform.documentsFolderPath + name;
        EXPECT_EQ(w.platform.opened, std::vector<std::string>{fallback});
        EXPECT_EQ(w.platform.documentsFolder.entries(), std::vector<std::string>{name});
        EXPECT_TRUE(w.platform.errorBoxes.empty());

        // Both closed: the error names the last path tried, and nothing is opened.
        w.platform.closedFolders.push_back(*w.platform.documentsFolderPath);
        w.form.Button1Click();
        EXPECT_EQ(w.platform.errorBoxes,
                  std::vector<std::string>{"Cannot create file " + *w.platform.documentsFolderPath +
                                           name + "."});
        EXPECT_EQ(w.platform.opened.size(), 1u);
    }
}

// Only a closed folder sends the calendar elsewhere; a file there that cannot be replaced
// is reported, or the stale file beside the program would pass for the new one.
TEST(Form1, ACalendarThatCannotBeReplacedIsReportedNotMovedToTheDocumentsFolder) {
    const std::pair<const char*, std::function<void(const std::string&)>> obstacles[] = {
        {"write-protected",
         [](const std::string& path) {
             test::WriteWholeFile(path, "earlier");
             std::filesystem::permissions(
                 path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
         }},
        {"a folder in its place",
         [](const std::string& path) { std::filesystem::create_directory(path); }},
        {"a missing program folder", [](const std::string&) {}},
    };
    for (const auto& [obstacle, prepare] : obstacles) {
        StartedWindow w;
        w.Start();
        if (std::string_view(obstacle) == "a missing program folder") {
            w.platform.programFolderPath += "gone/";
        }
        const std::string path = w.platform.programFolderPath + "calendar.html";
        prepare(path);
        w.form.Button1Click();
        EXPECT_EQ(w.platform.errorBoxes,
                  std::vector<std::string>{"Cannot create file " + path + "."})
            << obstacle;
        EXPECT_TRUE(w.platform.opened.empty()) << obstacle;
        EXPECT_TRUE(w.platform.documentsFolder.entries().empty()) << obstacle;
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
}

TEST(Form1, LocalizedNamesReachBothCalendars) {
    StartedWindow w;
    w.platform.localeNames.days = {"domingo",
                                   "lunes",
                                   "martes",
                                   "mi\xC3\xA9rcoles",
                                   "jueves",
                                   "viernes",
                                   "s\xC3\xA1"
                                   "bado"};
    w.platform.localeNames.months[4] = "mayo";
    w.Start();
    w.form.CheckBox2Set(true);
    w.form.Combo2Select(4);
    w.form.Button1Click();
    EXPECT_EQ(w.form.HTML()[2], "<title>Mayo 2026 calendar created with Tessaly</title>");
    EXPECT_EQ(w.form.HTML()[18], ">domingo<br></td>");
    w.form.CheckBox3Set(true);
    w.form.Button1Click();
    const auto pdf = test::ReadWholeFile(w.ProgramFile("calendar.pdf"));
    EXPECT_NE(pdf.find("(mi\xE9rcoles) Tj"), std::string::npos);  // in Windows-1252
    EXPECT_NE(pdf.find("(Mayo 2026) Tj"), std::string::npos);
    // One name outside Windows-1252 takes the whole table into the embedded face.
    w.platform.localeNames.months[4] = "\xD0\xBC\xD0\xB0\xD0\xB9";  // май
    w.form.Button1Click();
    const auto embedded = test::ReadWholeFile(w.ProgramFile("calendar.pdf"));
    EXPECT_EQ(embedded.find("(mi\xE9rcoles) Tj"), std::string::npos);
    EXPECT_EQ(embedded.find("(May 2026) Tj"), std::string::npos);
    EXPECT_NE(embedded.find("/F15 36 Tf"), std::string::npos);
}

TEST(ErrorBox, AddsAFullStopAfterCharactersAboveIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"Cannot create file C:\\x\\calendar.pdf", "Cannot create file C:\\x\\calendar.pdf."},
        {"Failed to Save Stream", "Failed to Save Stream."},
        {"Invalid data type for 'PDF'", "Invalid data type for 'PDF'"},  // ' is below .
        {"Done.", "Done."},
        {"Wait!", "Wait!"},  // ! is below .
        {"Path /", "Path /."},
        {"Path ,", "Path ,"},
        {"Ends in \xE9", "Ends in \xE9."},  // an 8-bit letter is above it too
        {"", ""},
    };
    for (const auto& [message, shown] : cases) {
        EXPECT_EQ(ErrorBoxText(message), shown);
    }
}

}  // namespace
}  // namespace tessaly
