#include "ui/qt/main_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <functional>
#include <span>

#include "app/form_layout.h"
#include "ui/qt/qt_platform_services.h"
#include "ui/qt/window_font.h"

namespace tessaly {

namespace {

// A widget that reports a click: a left-button release over it, as on a Windows control.
template <class Base>
class Clickable : public Base {
  public:
    using Base::Base;
    std::function<void()> clicked;

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton &&
            this->rect().contains(event->position().toPoint()) && clicked) {
            clicked();
        }
    }
};

using Banner = Clickable<QLabel>;

// Sunken panels side by side, the first kStatusNoticeWidth wide; a click anywhere on the
// bar is one click.
class StatusBar : public Clickable<QWidget> {
  public:
    StatusBar(QWidget* parent, std::span<const char* const> texts) : Clickable<QWidget>(parent) {
        // The bar has the desktop's status-bar font, not the window's.
        setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        for (const char* text : texts) {
            auto* panel = new QLabel(QString::fromUtf8(text), this);
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panel->setIndent(2);
            panel->setAttribute(Qt::WA_TransparentForMouseEvents);
            panels_.push_back(panel);
        }
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        constexpr int kTop = 2;
        constexpr int kGap = 2;
        int left = 0;
        for (size_t k = 0; k < panels_.size(); ++k) {
            const bool last = k + 1 == panels_.size();
            const int width = last ? this->width() - left : kStatusNoticeWidth - kGap;
            panels_[k]->setGeometry(left, kTop, width, height() - kTop);
            left += kStatusNoticeWidth;
        }
    }

  private:
    std::vector<QLabel*> panels_;
};

// The open lists of the drop-downs have rows of the layout's height.
class ListRows : public QStyledItemDelegate {
  public:
    ListRows(QObject* parent, int rowHeight) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_};
    }

  private:
    int rowHeight_;
};

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainWindow::MainWindow(PlatformServices& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      form_(platform) {
    setObjectName(Latin1(kForm1Name));
    setWindowTitle(Latin1(kForm1Caption));
    setFont(WindowFont());
    setFixedSize(kForm1Place.width, kForm1Place.height);
    move(kForm1Place.left, kForm1Place.top);
    CreateControls();
    ConnectHandlers();
    SetTabOrder();
    form_.FormCreate();
    Refresh();
}

MainWindow::~MainWindow() {
    // Deleting a focused control sends focus-out events; on a half-deleted window no
    // handler may run. The controls' handlers reach form_, so they go before it does.
    tearingDown_ = true;
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

QWidget* MainWindow::Control(std::string_view name) const {
    return controls_[Form1ControlIndex(name)];
}

void MainWindow::CreateControls() {
    for (size_t k = 0; k < kForm1Controls.size(); ++k) {
        const ControlLayout& layout = kForm1Controls[k];
        QWidget* control =
            MakeControl(layout, layout.parent == kForm1Name ? this : Control(layout.parent));
        if (control->objectName().isEmpty()) {
            control->setObjectName(Latin1(layout.name));
        }
        control->setGeometry(layout.place.left, layout.place.top, layout.place.width,
                             layout.place.height);
        if (!layout.hint.empty()) {
            control->setToolTip(Latin1(layout.hint));
        }
        if (layout.handCursor) {
            control->setCursor(Qt::PointingHandCursor);
        }
        controls_[k] = control;
    }
}

QWidget* MainWindow::MakeControl(const ControlLayout& layout, QWidget* parent) {
    const QString caption = Latin1(layout.caption);
    switch (layout.kind) {
        case ControlKind::Picture: {
            auto* picture = new Banner(parent);
            picture->setPixmap(QPixmap(QStringLiteral(":/tessaly/banner.png")));
            return picture;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
        case ControlKind::DropDownList: {
            auto* list = new QComboBox(parent);
            for (const char* item : layout.items) {
                list->addItem(QString::fromLatin1(item));
            }
            list->setMaxVisibleItems(static_cast<int>(layout.items.size()));
            list->setItemDelegate(new ListRows(list, layout.rowHeight));
            return list;
        }
        case ControlKind::SpinEdit: {
            auto* spin = new YearSpinEdit(parent, TForm1::kYearMaxLength);
            // The text field is the control the keyboard reaches.
            const QString name = Latin1(layout.name);
            spin->setObjectName(name + QStringLiteral("Control"));
            spin->Editor()->setObjectName(name);
            spin->UpButton()->setObjectName(name + QStringLiteral("Up"));
            spin->DownButton()->setObjectName(name + QStringLiteral("Down"));
            return spin;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::Panel: {
            auto* panel = new QFrame(parent);
            panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
            panel->setAutoFillBackground(true);
            return panel;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            // Return on a focused push button clicks it, as it does on Windows.
            button->setAutoDefault(true);
            button->setDefault(layout.name == Form1TabOrder().front());
            return button;
        }
        case ControlKind::StatusBar:
            return new StatusBar(parent, layout.items);
    }
    return nullptr;
}

void MainWindow::ConnectHandlers() {
    static_cast<Banner*>(Control("Image1"))->clicked = [this] {
        Forward([this] { form_.Image1Click(); });
    };
    static_cast<StatusBar*>(Control("StatusBar1"))->clicked = [this] {
        Forward([this] { form_.StatusBar1Click(); });
    };

    combo2_ = static_cast<QComboBox*>(Control("Combo2"));
    connect(combo2_, &QComboBox::activated, this,
            [this](int index) { Forward([&] { form_.Combo2Select(index); }); });
    combo1_ = static_cast<QComboBox*>(Control("Combo1"));
    connect(combo1_, &QComboBox::activated, this,
            [this](int index) { Forward([&] { form_.Combo1Select(index); }); });

    spinEdit1_ = static_cast<YearSpinEdit*>(Control("SpinEdit1"));
    spinEdit1_->SetEvents({
        [this](const std::string& text) { Forward([&] { form_.SpinEdit1Edited(text); }); },
        [this](char typed) { return form_.SpinEdit1KeyAllowed(typed); },
        [this] { Forward([this] { form_.SpinEdit1Exit(); }); },
        [this] { Forward([this] { form_.SpinEdit1Up(); }); },
        [this] { Forward([this] { form_.SpinEdit1Down(); }); },
    });

    const auto onCheck = [this](const char* name, void (TForm1::*set)(bool)) {
        auto* box = static_cast<QCheckBox*>(Control(name));
        connect(box, &QCheckBox::clicked, this,
                [this, set](bool checked) { Forward([&] { (form_.*set)(checked); }); });
        return box;
    };
    checkBox1_ = onCheck("CheckBox1", &TForm1::CheckBox1Set);
    checkBox2_ = onCheck("CheckBox2", &TForm1::CheckBox2Set);
    checkBox3_ = onCheck("CheckBox3", &TForm1::CheckBox3Set);

    const auto onClick = [this](const char* name, void (TForm1::*click)()) {
        auto* button = static_cast<QPushButton*>(Control(name));
        connect(button, &QPushButton::clicked, this,
                [this, click] { Forward([&] { (form_.*click)(); }); });
    };
    onClick("Button5", &TForm1::Button5Click);
    onClick("Button1", &TForm1::Button1Click);

    panel1_ = static_cast<QFrame*>(Control("Panel1"));
}

void MainWindow::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const std::string_view name : Form1TabOrder()) {
        QWidget* control = Control(name);
        if (control->focusProxy() != nullptr) {
            control = control->focusProxy();
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
    Control(Form1TabOrder().front())->setFocus();
}

template <class Event>
void MainWindow::Forward(Event&& event) {
    if (tearingDown_) {
        return;
    }
    event();
    Refresh();
}

void MainWindow::Refresh() {
    const QSignalBlocker blockCombo2(combo2_);
    const QSignalBlocker blockCombo1(combo1_);
    const QSignalBlocker blockCheckBox1(checkBox1_);
    const QSignalBlocker blockCheckBox2(checkBox2_);
    const QSignalBlocker blockCheckBox3(checkBox3_);
    combo2_->setCurrentIndex(form_.Combo2ItemIndex());
    combo1_->setCurrentIndex(form_.Combo1ItemIndex());
    spinEdit1_->ShowText(QString::fromUtf8(form_.SpinEdit1Text()));
    checkBox1_->setChecked(form_.CheckBox1Checked());
    checkBox2_->setChecked(form_.CheckBox2Checked());
    checkBox3_->setChecked(form_.CheckBox3Checked());

    QPalette swatch = panel1_->palette();
    const auto color = form_.Panel1Color();
    swatch.setColor(QPalette::Window,
                    color ? ToQColor(*color) : QApplication::palette().color(QPalette::Button));
    panel1_->setPalette(swatch);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // After the show has finished, so a box from the handler opens over the window.
    QTimer::singleShot(0, this, [this] { Forward([this] { form_.FormActivate(); }); });
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Forward([this] { form_.FormActivate(); });
    }
}

}  // namespace tessaly
