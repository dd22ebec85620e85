#include "app/form1.h"

#include <algorithm>

#include "core/int_text.h"
#include "core/product.h"

namespace tessaly {

namespace {

// Unset custom colour slots of the colour picker show white.
constexpr ColorValue kUnsetCustomColor = 0xFFFFFF;

}  // namespace

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

TForm1::TForm1(PlatformServices& platform) : platform_(platform) {
    customColors_.fill(kUnsetCustomColor);
}

template <class Handler>
void TForm1::Dispatch(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        platform_.ShowErrorBox(ErrorBoxText(error.what()));
    }
}

void TForm1::FormCreate() {
    Dispatch([&] {
        versionText_ = kVersionText;
        makerWebAddress_ = kMakerWebAddress;
        nameTable_[kWeekendColorSlot] = kDefaultWeekendColor;
    });
}

void TForm1::FormActivate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    Dispatch([&] {
        const LocalDateTime today = platform_.Now();
        combo2ItemIndex_ = today.month - 1;
        const int weekStart = RegReadInteger(platform_.Settings(), kSettingsKey, "WeekStart", 1);
        combo1ItemIndex_ = weekStart == 0 || weekStart == 1 ? weekStart : -1;
        SetSpinEdit1Value(today.year);
        if (RegReadInteger(platform_.Settings(), kSettingsKey, "Localized", 0) == 1) {
            SetCheckBox2(true);
        }
        if (RegReadInteger(platform_.Settings(), kSettingsKey, "PDF", 0) == 1) {
            SetCheckBox3(true);
        }
    });
}

void TForm1::Button1Click() {
    Dispatch([&] {
        // An installed copy cannot write beside itself: it uses the documents folder.
        const CalendarDestination destination{platform_.ProgramFolder(),
                                              platform_.DocumentsFolder()};
        const std::string path =
            MakeCalendarFile(Request(), nameTable_, html_, destination, platform_);
        platform_.OpenWithDefaultHandler(path);
    });
}

void TForm1::Button5Click() {
    Dispatch([&] {
        auto customColors = customColors_;
        const auto picked = platform_.PickColor(lastPickedColor_, customColors);
        if (!picked) {
            return;
        }
        customColors_ = customColors;
        lastPickedColor_ = *picked;
        panel1Color_ = *picked;
        nameTable_[kWeekendColorSlot] = ColorToHTML(*picked);
        checkBox1Checked_ = true;
    });
}

std::string TForm1::AboutText() const {
    return std::string("Tessaly version ") + versionText_ + "\r\r" + kMakerNotice + "\r" +
           makerWebAddress_ + "\r" + kProductWebAddress + "\r\r" +
           "Visit Orvanta web site for more information and other interesting programs.";
}

void TForm1::Image1Click() {
    Dispatch([&] {
        if (platform_.ShowAboutBox(AboutText())) {
            platform_.OpenWithDefaultHandler(makerWebAddress_);
        }
    });
}

void TForm1::StatusBar1Click() {
    Dispatch([&] { platform_.OpenWithDefaultHandler(makerWebAddress_); });
}

void TForm1::Combo2Select(int index) {
    combo2ItemIndex_ = index;
}

void TForm1::Combo1Select(int index) {
    combo1ItemIndex_ = index;
    Dispatch([&] { Combo1Change(); });
}

void TForm1::CheckBox1Set(bool checked) {
    checkBox1Checked_ = checked;
}

void TForm1::CheckBox2Set(bool checked) {
    Dispatch([&] { SetCheckBox2(checked); });
}

void TForm1::CheckBox3Set(bool checked) {
    Dispatch([&] { SetCheckBox3(checked); });
}

void TForm1::SetCheckBox2(bool checked) {
    if (checkBox2Checked_ != checked) {
        checkBox2Checked_ = checked;
        CheckBox2Click();
    }
}

void TForm1::SetCheckBox3(bool checked) {
    if (checkBox3Checked_ != checked) {
        checkBox3Checked_ = checked;
        CheckBox3Click();
    }
}

void TForm1::Combo1Change() {
    RegWriteInteger(platform_.Settings(), kSettingsKey, "WeekStart", combo1ItemIndex_);
}

void TForm1::CheckBox2Click() {
    RegWriteInteger(platform_.Settings(), kSettingsKey, "Localized", checkBox2Checked_ ? 1 : 0);
}

void TForm1::CheckBox3Click() {
    RegWriteInteger(platform_.Settings(), kSettingsKey, "PDF", checkBox3Checked_ ? 1 : 0);
}

int TForm1::SpinEdit1Value() const {
    return ParseIntegerText(spinEdit1Text_).value_or(kFirstYear);
}

void TForm1::SetSpinEdit1Value(long long value) {
    spinEdit1Text_ = std::to_string(ClampedYear(value));
}

void TForm1::SpinEdit1Edited(std::string text) {
    spinEdit1Text_ = std::move(text);
}

bool TForm1::SpinEdit1KeyAllowed(char key) {
    const bool control = static_cast<unsigned char>(key) < 0x20 && key != '\r';
    return (key >= '0' && key <= '9') || key == '+' || key == '-' ||
           key == platform_.DecimalSeparator() || control;
}

void TForm1::SpinEdit1Exit() {
    const int value = SpinEdit1Value();
    if (value < kFirstYear || value > kLastYear) {
        SetSpinEdit1Value(value);
    }
}

void TForm1::SpinEdit1Up() {
    SetSpinEdit1Value(static_cast<long long>(SpinEdit1Value()) + 1);
}

void TForm1::SpinEdit1Down() {
    SetSpinEdit1Value(static_cast<long long>(SpinEdit1Value()) - 1);
}

CalendarRequest TForm1::Request() const {
    CalendarRequest request;
    // The month list gets its selection at the first activation, before any click.
    request.monthIndex = std::clamp(combo2ItemIndex_, 0, 11);
    request.year = SpinEdit1Value();
    request.weekStart = combo1ItemIndex_;
    request.colorWeekends = checkBox1Checked_;
    request.localizedNames = checkBox2Checked_;
    request.pdf = checkBox3Checked_;
    return request;
}

std::string TForm1::GetDate(int position) const {
    return CellText(Request(), position);
}

}  // namespace tessaly
