#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <string>

namespace tessaly {

// The year control: a text field with up and down buttons at its right edge. It only
// reports what the user does; what the text becomes is decided by whoever handles the
// events and shown back with ShowText.
class YearSpinEdit : public QWidget {
  public:
    struct Events {
        std::function<void(const std::string& text)> edited;
        // Each typed character; false drops the key with a beep.
        std::function<bool(char typed)> keyAllowed;
        std::function<void()> exited;  // the focus went to another control
        std::function<void()> up;
        std::function<void()> down;
    };

    YearSpinEdit(QWidget* parent, int maxLength);
    ~YearSpinEdit() override;

    // Set once, right after the control is made.
    void SetEvents(Events events) { events_ = std::move(events); }

    // Shows `text` without reporting it as an edit.
    void ShowText(const QString& text);

    QLineEdit* Editor() const { return editor_; }
    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    class TextField;

    Events events_;
    QLineEdit* editor_;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace tessaly
