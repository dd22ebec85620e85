#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/platform_services.h"
#include "calendar/month_grid.h"
#include "calendar/names.h"

namespace tessaly {

// The main window without a toolkit: what its controls hold, and every handler.
// A front end creates the controls, forwards each event here and shows the state back;
// it decides nothing itself. Each public event runs to its end; an error ends its
// handler and is shown in the error box, and the window goes on with the state reached.
class TForm1 {
  public:
    static constexpr int kYearMaxLength = 4;
    // Holding a step button of the year field repeats the step after these delays.
    static constexpr int kYearFirstRepeatMs = 400;
    static constexpr int kYearRepeatMs = 100;

    explicit TForm1(PlatformServices& platform);

    // Window events.
    void FormCreate();
    void FormActivate();  // only the first activation does anything
    void Button1Click();  // "Create and view"
    void Button5Click();  // "Select color..."
    void Image1Click();   // the banner: the about message
    void StatusBar1Click();

    // The user changing a control.
    void Combo2Select(int index);  // month
    void Combo1Select(int index);  // week start: runs Combo1Change
    void CheckBox1Set(bool checked);
    void CheckBox2Set(bool checked);  // runs CheckBox2Click when the state changes
    void CheckBox3Set(bool checked);  // runs CheckBox3Click when the state changes

    // The year field: text as typed (the control keeps it to kYearMaxLength), the key
    // filter (false: drop the key and beep), focus leaving, and the up and down steps.
    void SpinEdit1Edited(std::string text);
    bool SpinEdit1KeyAllowed(char key);
    void SpinEdit1Exit();
    void SpinEdit1Up();
    void SpinEdit1Down();

    // What the controls show.
    int Combo2ItemIndex() const { return combo2ItemIndex_; }
    int Combo1ItemIndex() const { return combo1ItemIndex_; }
    const std::string& SpinEdit1Text() const { return spinEdit1Text_; }
    int SpinEdit1Value() const;
    bool CheckBox1Checked() const { return checkBox1Checked_; }
    bool CheckBox2Checked() const { return checkBox2Checked_; }
    bool CheckBox3Checked() const { return checkBox3Checked_; }
    // The swatch: nothing until a colour is picked (the button face shows).
    std::optional<ColorValue> Panel1Color() const { return panel1Color_; }
    // The hidden line buffer of the last HTML page.
    const std::vector<std::string>& HTML() const { return html_; }

    const NameTable& Names() const { return nameTable_; }
    CalendarRequest Request() const;
    std::string GetDate(int position) const;
    std::string AboutText() const;

  private:
    template <class Handler>
    void Dispatch(Handler&& handler);

    void Combo1Change();
    void CheckBox2Click();
    void CheckBox3Click();
    void SetCheckBox2(bool checked);
    void SetCheckBox3(bool checked);
    void SetSpinEdit1Value(long long value);

    PlatformServices& platform_;
    bool activated_ = false;

    std::string versionText_;
    std::string makerWebAddress_;
    NameTable nameTable_;

    int combo2ItemIndex_ = -1;
    int combo1ItemIndex_ = -1;
    std::string spinEdit1Text_ = "2000";
    bool checkBox1Checked_ = false;
    bool checkBox2Checked_ = false;
    bool checkBox3Checked_ = false;
    std::optional<ColorValue> panel1Color_;
    std::vector<std::string> html_;

    // The picker starts on the weekend colour: silver until the first pick. (Black, a
    // first OK would give unreadable black weekend cells.)
    ColorValue lastPickedColor_ = ColorFromRgb(0xC0, 0xC0, 0xC0);
    std::array<ColorValue, 16> customColors_;
};

// The error box's text: a full stop is added when the message's last character
// comes after the full stop.
std::string ErrorBoxText(std::string_view message);

}  // namespace tessaly
