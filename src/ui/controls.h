#pragma once

#include "twips.h"

#include <QString>
#include <QWidget>

#include <span>

// Each window keeps its controls as one table of data; buildControls makes the widgets from it.

enum class ControlKind {
    Label,            // QLabel
    TextBox,          // QLineEdit
    MultiLineTextBox, // MultiLineTextBox, a QPlainTextEdit
    Button,           // QPushButton, never a default button
    List,             // QListWidget
    CheckBox,         // QCheckBox
    OptionButton,     // QRadioButton
    Frame,            // QGroupBox
    ProgressBar,      // QProgressBar
    PictureBox,       // QLabel showing a picture
    Table,            // QTableWidget; the caption holds the column headings, separated by "|"
    ComboBox,         // QComboBox, a list to choose from; the caption holds its items, by "|"
};

struct ControlLayout
{
    const char *name; // also the widget's objectName
    ControlKind kind;
    const char16_t *caption;         // caption, or a text box's initial text
    TwipsRect geometry;              // from the top left of the container
    const char *container = nullptr; // a Frame of the same table, or the window itself
};

// Creates the controls in table order, which is also their tab order.
void buildControls(QWidget *window, std::span<const ControlLayout> controls);

// A fixed tool window as designed: a small caption bar with a close button, no minimise or
// maximise box, no entry in the task bar, and its controls.
struct ToolWindowDesign
{
    const char *name; // also the window's objectName
    const char16_t *caption;
    int widthTwips; // of the client area
    int heightTwips;
    // Windows that hold part of the book only hide when closed; the others are unloaded, and
    // the next use creates them afresh.
    enum { HidesOnClose, UnloadsOnClose } onClose;
    std::span<const ControlLayout> controls;
};

void buildToolWindow(QWidget *window, const ToolWindowDesign &design);

// How a control follows a window that grows past its designed size: the share of the extra
// width it grows by and moves right by, and whether it grows or moves down with the extra
// height. Controls the rules do not name stay where they are.
struct GrowthRule
{
    const char *name;
    double widen = 0;
    double shift = 0;
    bool heighten = false;
    bool lower = false;
};

// Lets a tool window be made larger than its designed size, which stays its starting size and
// its smallest; the controls follow the rules.
void letWindowGrow(QWidget *window, std::span<const GrowthRule> rules);

// A control that buildControls made, by name.
template<typename Widget>
Widget *control(const QWidget *window, const char *name)
{
    auto *widget = window->findChild<Widget *>(QString::fromLatin1(name));
    Q_ASSERT_X(widget, "control", name);
    return widget;
}
