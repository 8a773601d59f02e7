#include "controls.h"

#include <vector>

#include <QEvent>

#include "multilinetextbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <limits>

namespace {

QWidget *createControl(ControlKind kind, const QString &caption, QWidget *parent)
{
    switch (kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new QLineEdit(caption, parent);
        box->setMaxLength(std::numeric_limits<int>::max()); // the boxes take text of any length
        box->setCursorPosition(0);
        return box;
    }
    case ControlKind::MultiLineTextBox: {
        auto *box = new MultiLineTextBox(parent);
        box->setText(caption);
        box->setTabChangesFocus(true);
        return box;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::List: {
        // A list shows the start of each row; long rows are cut at its right edge.
        auto *list = new QListWidget(parent);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return list;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::OptionButton:
        return new QRadioButton(caption, parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::ProgressBar: {
        auto *bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::PictureBox:
        return new QLabel(parent);
    case ControlKind::Table: {
        const QStringList headings = caption.split(u'|');
        auto *table = new QTableWidget(0, int(headings.size()), parent);
        table->setHorizontalHeaderLabels(headings);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->horizontalHeader()->setStretchLastSection(true);
        return table;
    }
    case ControlKind::ComboBox: {
        auto *list = new QComboBox(parent);
        if (!caption.isEmpty())
            list->addItems(caption.split(u'|'));
        return list;
    }
    }
    Q_UNREACHABLE();
}

} // namespace

void buildControls(QWidget *window, std::span<const ControlLayout> controls)
{
    for (const ControlLayout &entry : controls) {
        QWidget *parent = entry.container ? control<QWidget>(window, entry.container) : window;
        QWidget *widget = createControl(entry.kind, QString::fromUtf16(entry.caption), parent);
        widget->setObjectName(QString::fromLatin1(entry.name));
        widget->setGeometry(toPixels(entry.geometry));
    }
}

namespace {

// Watches a window's size and places the controls its rules name.
class Growth final : public QObject
{
public:
    Growth(QWidget *window, std::span<const GrowthRule> rules)
        : QObject(window)
        , m_window(window)
        , m_start(window->size())
    {
        for (const GrowthRule &rule : rules) {
            if (auto *widget = window->findChild<QWidget *>(QString::fromLatin1(rule.name)))
                m_placed.push_back({widget, widget->geometry(), rule});
        }
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Resize) {
            const int dx = std::max(0, m_window->width() - m_start.width());
            const int dy = std::max(0, m_window->height() - m_start.height());
            for (const Placed &placed : m_placed) {
                QRect geometry = placed.start;
                geometry.translate(int(placed.rule.shift * dx), placed.rule.lower ? dy : 0);
                geometry.setWidth(geometry.width() + int(placed.rule.widen * dx));
                geometry.setHeight(geometry.height() + (placed.rule.heighten ? dy : 0));
                placed.widget->setGeometry(geometry);
            }
        }
        return false;
    }

private:
    struct Placed
    {
        QWidget *widget;
        QRect start;
        GrowthRule rule;
    };
    QWidget *m_window;
    QSize m_start;
    std::vector<Placed> m_placed;
};

} // namespace

void letWindowGrow(QWidget *window, std::span<const GrowthRule> rules)
{
    window->setMinimumSize(window->size());
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    new Growth(window, rules);
}

void buildToolWindow(QWidget *window, const ToolWindowDesign &design)
{
    window->setObjectName(QString::fromLatin1(design.name));
    window->setWindowTitle(QString::fromUtf16(design.caption));
    window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint);
    window->setFixedSize(toPixels(design.widthTwips, design.heightTwips));
    window->setAttribute(Qt::WA_DeleteOnClose, design.onClose == ToolWindowDesign::UnloadsOnClose);
    buildControls(window, design.controls);
}
