#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QWidget>

#include "app/form1.h"
#include "ui/qt/year_spin_edit.h"

namespace tessaly {

// The main window under Qt: TForm1's controls at their pixel places. Each user event
// goes to TForm1 and every control then shows TForm1's state again; the window
// decides nothing of its own.
class MainWindow : public QWidget {
  public:
    static constexpr int kClientWidth = 365;
    static constexpr int kClientHeight = 372;

    explicit MainWindow(PlatformServices& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    const TForm1& Form() const { return form_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void CreateControls();
    void SetTabOrder();
    // Runs one event of the model, then shows its state.
    template <class Event>
    void Forward(Event&& event);
    void Refresh();

    TForm1 form_;
    bool tearingDown_ = false;
    QComboBox* combo2_ = nullptr;
    YearSpinEdit* spinEdit1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QCheckBox* checkBox1_ = nullptr;
    QFrame* panel1_ = nullptr;
    QPushButton* button5_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QCheckBox* checkBox3_ = nullptr;
    QPushButton* button1_ = nullptr;
};

}  // namespace tessaly
