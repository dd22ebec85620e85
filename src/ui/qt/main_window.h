#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QWidget>
#include <array>
#include <string_view>

#include "app/form1.h"
#include "app/form_layout.h"
#include "ui/qt/year_spin_edit.h"

namespace tessaly {

// The main window under Qt: TForm1's controls at their pixel places. Each user event
// goes to TForm1 and every control then shows TForm1's state again; the window
// decides nothing of its own.
class MainWindow : public QWidget {
  public:
    explicit MainWindow(PlatformServices& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    const TForm1& Form() const { return form_; }
    // The widget made for a control of the layout.
    QWidget* Control(std::string_view name) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Builds every control of the layout; how each kind is made in Qt is MakeControl's.
    void CreateControls();
    QWidget* MakeControl(const ControlLayout& layout, QWidget* parent);
    // Which model handler each control's event runs.
    void ConnectHandlers();
    void SetTabOrder();
    // Runs one event of the model, then shows its state.
    template <class Event>
    void Forward(Event&& event);
    void Refresh();

    TForm1 form_;
    bool tearingDown_ = false;
    std::array<QWidget*, kForm1Controls.size()> controls_{};
    QComboBox* combo2_ = nullptr;
    YearSpinEdit* spinEdit1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QCheckBox* checkBox1_ = nullptr;
    QFrame* panel1_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QCheckBox* checkBox3_ = nullptr;
};

}  // namespace tessaly
