#include "ui/qt/main_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <functional>

#include "core/product.h"
#include "ui/qt/qt_platform_services.h"
#include "ui/qt/window_font.h"

namespace tessaly {

namespace {

// A widget that reports a click: a left-button release over it, as on a Windows control.
template <class Base>
class Clickable : public Base {
  public:
    Clickable(QWidget* parent, std::function<void()> clicked)
        : Base(parent), clicked_(std::move(clicked)) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton &&
            this->rect().contains(event->position().toPoint())) {
            clicked_();
        }
    }

  private:
    std::function<void()> clicked_;
};

using Banner = Clickable<QLabel>;

// Two sunken panels; a click anywhere on the bar is one click.
class StatusBar : public Clickable<QWidget> {
  public:
    static constexpr int kFirstPanelWidth = 170;

    StatusBar(QWidget* parent, std::function<void()> clicked)
        : Clickable<QWidget>(parent, std::move(clicked)) {
        // The bar has the desktop's status-bar font, not the window's.
        setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        for (const char* text : {kMakerNotice, kMakerWebAddress}) {
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
        panels_[0]->setGeometry(0, kTop, kFirstPanelWidth - kGap, height() - kTop);
        panels_[1]->setGeometry(kFirstPanelWidth, kTop, width() - kFirstPanelWidth,
                                height() - kTop);
    }

  private:
    std::vector<QLabel*> panels_;
};

// The open lists of the drop-downs have rows 16 pixels high.
class ListRows : public QStyledItemDelegate {
  public:
    static constexpr int kRowHeight = 16;
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
    }
};

template <class Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

}  // namespace

MainWindow::MainWindow(PlatformServices& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      form_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProductName));
    setFont(WindowFont());
    setFixedSize(kClientWidth, kClientHeight);
    move(188, 112);
    CreateControls();
    SetTabOrder();
    button1_->setFocus();
    form_.FormCreate();
    Refresh();
}

MainWindow::~MainWindow() {
    // Deleting a focused control sends focus-out events; on a half-deleted window no
    // handler may run. The controls' handlers reach form_, so they go before it does.
    tearingDown_ = true;
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void MainWindow::CreateControls() {
    auto* image1 = Place(new Banner(this, [this] { Forward([this] { form_.Image1Click(); }); }),
                         "Image1", 0, 0, 368, 67);
    image1->setPixmap(QPixmap(QStringLiteral(":/tessaly/banner.png")));
    image1->setCursor(Qt::PointingHandCursor);
    image1->setToolTip(QStringLiteral("Click for version information..."));

    auto* groupBox1 = Place(
        new QGroupBox(QStringLiteral("For which month would you like to make a calendar?"), this),
        "GroupBox1", 8, 80, 353, 65);
    combo2_ = Place(new QComboBox(groupBox1), "Combo2", 64, 25, 153, 24);
    for (const char* month : kEnglishMonthNames) {
        combo2_->addItem(QString::fromLatin1(month));
    }
    combo2_->setMaxVisibleItems(12);
    combo2_->setItemDelegate(new ListRows(combo2_));
    connect(combo2_, &QComboBox::activated, this,
            [this](int index) { Forward([&] { form_.Combo2Select(index); }); });

    YearSpinEdit::Events yearEvents{
        [this](const std::string& text) { Forward([&] { form_.SpinEdit1Edited(text); }); },
        [this](char typed) { return form_.SpinEdit1KeyAllowed(typed); },
        [this] { Forward([this] { form_.SpinEdit1Exit(); }); },
        [this] { Forward([this] { form_.SpinEdit1Up(); }); },
        [this] { Forward([this] { form_.SpinEdit1Down(); }); },
    };
    spinEdit1_ = Place(new YearSpinEdit(groupBox1, TForm1::kYearMaxLength, std::move(yearEvents)),
                       "SpinEdit1Control", 224, 24, 65, 26);
    spinEdit1_->Editor()->setObjectName(QStringLiteral("SpinEdit1"));
    spinEdit1_->UpButton()->setObjectName(QStringLiteral("SpinEdit1Up"));
    spinEdit1_->DownButton()->setObjectName(QStringLiteral("SpinEdit1Down"));

    auto* groupBox2 =
        Place(new QGroupBox(QStringLiteral("Should a week start on Monday or Sunday?"), this),
              "GroupBox2", 8, 152, 353, 161);
    combo1_ = Place(new QComboBox(groupBox2), "Combo1", 64, 25, 145, 24);
    for (const char* item : TForm1::kWeekStartItems) {
        combo1_->addItem(QString::fromLatin1(item));
    }
    combo1_->setItemDelegate(new ListRows(combo1_));
    connect(combo1_, &QComboBox::activated, this,
            [this](int index) { Forward([&] { form_.Combo1Select(index); }); });

    checkBox1_ =
        Place(new QCheckBox(QStringLiteral("Color weekends with another color"), groupBox2),
              "CheckBox1", 64, 56, 257, 17);
    connect(checkBox1_, &QCheckBox::clicked, this,
            [this](bool checked) { Forward([&] { form_.CheckBox1Set(checked); }); });

    panel1_ = Place(new QFrame(groupBox2), "Panel1", 80, 76, 25, 25);
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1_->setAutoFillBackground(true);

    button5_ = Place(new QPushButton(QStringLiteral("Select color..."), groupBox2), "Button5", 111,
                     76, 113, 25);
    connect(button5_, &QPushButton::clicked, this,
            [this] { Forward([this] { form_.Button5Click(); }); });

    checkBox2_ =
        Place(new QCheckBox(QStringLiteral("Use localized names of days and months"), groupBox2),
              "CheckBox2", 64, 104, 273, 17);
    connect(checkBox2_, &QCheckBox::clicked, this,
            [this](bool checked) { Forward([&] { form_.CheckBox2Set(checked); }); });
    checkBox3_ = Place(new QCheckBox(QStringLiteral("Create as PDF instead of HTML"), groupBox2),
                       "CheckBox3", 64, 128, 273, 17);
    connect(checkBox3_, &QCheckBox::clicked, this,
            [this](bool checked) { Forward([&] { form_.CheckBox3Set(checked); }); });

    button1_ = Place(new QPushButton(QStringLiteral("Create and view"), this), "Button1", 208, 319,
                     137, 25);
    connect(button1_, &QPushButton::clicked, this,
            [this] { Forward([this] { form_.Button1Click(); }); });

    auto* statusBar1 =
        Place(new StatusBar(this, [this] { Forward([this] { form_.StatusBar1Click(); }); }),
              "StatusBar1", 0, kClientHeight - 19, kClientWidth, 19);
    statusBar1->setCursor(Qt::PointingHandCursor);

    // Return on a focused push button clicks it, as it does on Windows.
    for (QPushButton* button : {button1_, button5_}) {
        button->setAutoDefault(true);
    }
    button1_->setDefault(true);
}

void MainWindow::SetTabOrder() {
    const QList<QWidget*> order = {button1_,   combo2_,    spinEdit1_->Editor(), combo1_,
                                   checkBox1_, checkBox2_, checkBox3_,           button5_};
    for (qsizetype k = 1; k < order.size(); ++k) {
        QWidget::setTabOrder(order[k - 1], order[k]);
    }
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
