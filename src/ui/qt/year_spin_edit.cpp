#include "ui/qt/year_spin_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "app/form1.h"

namespace tessaly {

namespace {

constexpr int kButtonWidth = 15;
constexpr int kFrame = 2;

}  // namespace

class YearSpinEdit::TextField : public QLineEdit {
  public:
    TextField(QWidget* parent, const Events& events) : QLineEdit(parent), events_(events) {
        // Every character must come through keyPressEvent to meet the key filter.
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
            (event->key() == Qt::Key_Up ? events_.up : events_.down)();
            event->accept();
            return;
        }
        if (!TypedCharactersAllowed(*event)) {
            QApplication::beep();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        // Another window or a menu taking the focus leaves the control where it was.
        if (event->reason() != Qt::ActiveWindowFocusReason &&
            event->reason() != Qt::PopupFocusReason) {
            events_.exited();
        }
    }

  private:
    // Keys that type nothing (arrows, Home, Delete) pass untouched; characters of
    // more than one byte are never digits or signs.
    bool TypedCharactersAllowed(const QKeyEvent& event) const {
        if (event.key() == Qt::Key_Delete) {
            return true;
        }
        for (const char byte : event.text().toUtf8()) {
            if (static_cast<unsigned char>(byte) >= 0x80 || !events_.keyAllowed(byte)) {
                return false;
            }
        }
        return true;
    }

    const Events& events_;
};

YearSpinEdit::YearSpinEdit(QWidget* parent, int maxLength) : QWidget(parent) {
    editor_ = new TextField(this, events_);
    editor_->setMaxLength(maxLength);
    editor_->setTextMargins(0, 0, kButtonWidth, 0);
    setFocusProxy(editor_);
    connect(editor_, &QLineEdit::textEdited, this,
            [this](const QString& text) { events_.edited(text.toUtf8().toStdString()); });

    const auto makeButton = [this](Qt::ArrowType arrow, const std::function<void()>& step) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setAutoRepeatDelay(TForm1::kYearFirstRepeatMs);
        button->setAutoRepeatInterval(TForm1::kYearRepeatMs);
        // `pressed` comes at the press and again at each repeat.
        connect(button, &QToolButton::pressed, this, [this, step] {
            editor_->setFocus(Qt::MouseFocusReason);
            step();
        });
        return button;
    };
    up_ = makeButton(Qt::UpArrow, [this] { events_.up(); });
    down_ = makeButton(Qt::DownArrow, [this] { events_.down(); });
}

// The text field refers to events_, which the members' destruction ends before QWidget
// deletes the children: the field goes first, so its focus-out can reach no handler.
YearSpinEdit::~YearSpinEdit() {
    delete editor_;
}

void YearSpinEdit::ShowText(const QString& text) {
    // Rewriting equal text would move the caret while the user types.
    if (editor_->text() != text) {
        const QSignalBlocker blocker(editor_);
        editor_->setText(text);
    }
}

void YearSpinEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    editor_->setGeometry(rect());
    const int top = kFrame;
    const int half = (height() - 2 * kFrame) / 2;
    const int left = width() - kFrame - kButtonWidth;
    up_->setGeometry(left, top, kButtonWidth, half);
    down_->setGeometry(left, top + half, kButtonWidth, height() - 2 * kFrame - half);
}

}  // namespace tessaly
