#include "frmconvert.h"

#include "controls.h"
#include "frmleafwright.h"
#include "prompts.h"
#include "windows.h"

#include "convert/libraryconversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// In tab order.
constexpr ControlLayout Controls[] = {
    {"lblBooks",
     ControlKind::Label,
     u"Books, and folders of books, to convert (drop them here too):",
     {120, 120, 7560, 255}},
    {"lstBooks", ControlKind::List, u"", {120, 420, 7560, 1680}},
    {"butAddFiles", ControlKind::Button, u"Add &Files...", {7800, 420, 1680, 375}},
    {"butAddFolder", ControlKind::Button, u"Add F&older...", {7800, 900, 1680, 375}},
    {"butRemove", ControlKind::Button, u"&Remove", {7800, 1380, 1680, 375}},
    {"lblOutput", ControlKind::Label, u"Output folder:", {120, 2250, 1500, 255}},
    {"txtOutput", ControlKind::TextBox, u"", {1680, 2220, 6000, 315}},
    {"butBrowse", ControlKind::Button, u"&Browse...", {7800, 2190, 1680, 375}},
    {"objClean_0", ControlKind::CheckBox, CleanerBoxCaptions[0], {120, 2760, 4620, 255}},
    {"objClean_1", ControlKind::CheckBox, CleanerBoxCaptions[1], {120, 3060, 4620, 255}},
    {"objClean_2", ControlKind::CheckBox, CleanerBoxCaptions[2], {120, 3360, 4620, 255}},
    {"objClean_3", ControlKind::CheckBox, CleanerBoxCaptions[3], {120, 3660, 4620, 255}},
    {"objClean_4", ControlKind::CheckBox, CleanerBoxCaptions[4], {4860, 2760, 4620, 255}},
    {"objClean_5", ControlKind::CheckBox, CleanerBoxCaptions[5], {4860, 3060, 4620, 255}},
    {"objClean_6", ControlKind::CheckBox, CleanerBoxCaptions[6], {4860, 3360, 4620, 255}},
    {"objClean_7", ControlKind::CheckBox, CleanerBoxCaptions[7], {4860, 3660, 4620, 255}},
    {"chkFindChapters", ControlKind::CheckBox, u"Find chapters", {120, 3960, 4620, 255}},
    {"chkSort", ControlKind::CheckBox, u"Sort chapters by offset", {4860, 3960, 4620, 255}},
    {"lblCodePage", ControlKind::Label, u"Code &page:", {120, 4320, 1500, 255}},
    {"cboCodePage", ControlKind::ComboBox, u"", {1680, 4290, 3060, 315}},
    {"butStart", ControlKind::Button, u"&Start", {5880, 4740, 1680, 375}},
    {"butCancel", ControlKind::Button, u"Cancel", {7800, 4740, 1680, 375}},
    {"prgConvert", ControlKind::ProgressBar, u"", {120, 4800, 5640, 255}},
    {"lblCurrent", ControlKind::Label, u"", {120, 5220, 9360, 255}},
    {"grdResults", ControlKind::Table, u"Book|Status|Chapters|Message", {120, 5580, 9360, 2400}},
};

enum Column { BookColumn, StatusColumn, ChaptersColumn, MessageColumn };

QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

FrmConvert::FrmConvert()
{
    buildToolWindow(this, {"frmConvert", u"Convert Books", 9600, 8100,
                           ToolWindowDesign::UnloadsOnClose, Controls});
    lblBooks = control<QLabel>(this, "lblBooks");
    lstBooks = control<QListWidget>(this, "lstBooks");
    butAddFiles = control<QPushButton>(this, "butAddFiles");
    butAddFolder = control<QPushButton>(this, "butAddFolder");
    butRemove = control<QPushButton>(this, "butRemove");
    lblOutput = control<QLabel>(this, "lblOutput");
    txtOutput = control<QLineEdit>(this, "txtOutput");
    butBrowse = control<QPushButton>(this, "butBrowse");
    for (int index = 0; index < CleanerBoxCount; ++index) {
        const QByteArray name = "objClean_" + QByteArray::number(index);
        objClean.append(control<QCheckBox>(this, name.constData()));
    }
    chkFindChapters = control<QCheckBox>(this, "chkFindChapters");
    chkSort = control<QCheckBox>(this, "chkSort");
    lblCodePage = control<QLabel>(this, "lblCodePage");
    cboCodePage = control<QComboBox>(this, "cboCodePage");
    // Each book in the code page its letters or bytes call for, unless the user chooses one.
    cboCodePage->addItem(u"Each book's own (guessed)"_s);
    for (const CodePage::Id codePage : CodePage::all())
        cboCodePage->addItem(CodePage::title(codePage), int(codePage));
    lblCodePage->setBuddy(cboCodePage);
    butStart = control<QPushButton>(this, "butStart");
    butCancel = control<QPushButton>(this, "butCancel");
    prgConvert = control<QProgressBar>(this, "prgConvert");
    lblCurrent = control<QLabel>(this, "lblCurrent");
    grdResults = control<QTableWidget>(this, "grdResults");

    static constexpr GrowthRule Growing[] = {
        {"lblBooks", 1, 0, false, false},     {"lstBooks", 1, 0, false, false},
        {"butAddFiles", 0, 1, false, false},  {"butAddFolder", 0, 1, false, false},
        {"butRemove", 0, 1, false, false},    {"txtOutput", 1, 0, false, false},
        {"butBrowse", 0, 1, false, false},    {"objClean_4", 0, 0.5, false, false},
        {"objClean_5", 0, 0.5, false, false}, {"objClean_6", 0, 0.5, false, false},
        {"objClean_7", 0, 0.5, false, false}, {"chkSort", 0, 0.5, false, false},
        {"butStart", 0, 1, false, false},     {"butCancel", 0, 1, false, false},
        {"prgConvert", 1, 0, false, false},   {"lblCurrent", 1, 0, false, false},
        {"grdResults", 1, 0, true, false},
    };
    letWindowGrow(this, Growing);

    lstBooks->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdResults->setColumnWidth(BookColumn, 260);
    grdResults->setColumnWidth(StatusColumn, 80);
    grdResults->setColumnWidth(ChaptersColumn, 70);
    prgConvert->setValue(0);
    butCancel->setEnabled(false);
    setAcceptDrops(true);

    connect(butAddFiles, &QPushButton::clicked, this, &FrmConvert::butAddFiles_Click);
    connect(butAddFolder, &QPushButton::clicked, this, &FrmConvert::butAddFolder_Click);
    connect(butRemove, &QPushButton::clicked, this, &FrmConvert::butRemove_Click);
    connect(butBrowse, &QPushButton::clicked, this, &FrmConvert::butBrowse_Click);
    connect(butStart, &QPushButton::clicked, this, &FrmConvert::butStart_Click);
    connect(butCancel, &QPushButton::clicked, this, &FrmConvert::butCancel_Click);
    connect(grdResults, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { grdResults_DblClick(row); });
}

// Closing the window during a conversion stops it after the books in flight.
FrmConvert::~FrmConvert()
{
    if (m_conversion)
        m_conversion->cancel();
    if (m_worker.joinable())
        m_worker.join();
}

void FrmConvert::addBooks(const QStringList &paths)
{
    for (const QString &path : paths) {
        const QString shown = QDir::toNativeSeparators(path);
        if (!path.isEmpty() && lstBooks->findItems(shown, Qt::MatchExactly).isEmpty())
            lstBooks->addItem(shown);
    }
}

void FrmConvert::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile() && !isConverting())
        event->acceptProposedAction();
}

void FrmConvert::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    addBooks(paths);
}

void FrmConvert::butAddFiles_Click()
{
    addBooks(prompts().chooseFiles(
        {FileDialogKind::OpenSeveral,
         u"Add Files"_s,
         u"Books|*.txt;*.epub;*.html;*.htm;*.xhtml;*.fb2;*.fbz;*.fb2.zip;*.mobi;*.azw;*.azw3;"
         "*.prc;*.docx;*.odt;*.md;*.markdown;*.pdf;*.vlm|All Files|*"_s,
         {}}));
}

void FrmConvert::butAddFolder_Click()
{
    addBooks(prompts().chooseFiles({FileDialogKind::Folder, u"Add Folder"_s, {}, {}}));
}

void FrmConvert::butRemove_Click()
{
    qDeleteAll(lstBooks->selectedItems());
}

void FrmConvert::butBrowse_Click()
{
    const QStringList chosen =
        prompts().chooseFiles({FileDialogKind::Folder, u"Output Folder"_s, {}, txtOutput->text()});
    if (!chosen.isEmpty())
        txtOutput->setText(QDir::toNativeSeparators(chosen.first()));
}

void FrmConvert::butStart_Click()
{
    QStringList inputs;
    for (int row = 0; row < lstBooks->count(); ++row)
        inputs.append(QDir::fromNativeSeparators(lstBooks->item(row)->text()));
    const QString output = QDir::fromNativeSeparators(txtOutput->text().trimmed());
    if (inputs.isEmpty() || output.isEmpty()) {
        prompts().showMessage(u"Convert Books"_s,
                              inputs.isEmpty() ? u"Add the books or folders to convert first."_s
                                               : u"Choose the folder the book files go to first."_s,
                              MessageIcon::Exclamation);
        return;
    }
    if (!QDir().mkpath(output)) {
        prompts().showMessage(u"Convert Books"_s,
                              u"The folder %1 cannot be made; nothing was converted."_s.arg(
                                  QDir::toNativeSeparators(output)),
                              MessageIcon::Critical);
        return;
    }

    BookRecipe recipe;
    for (int box = 0; box < CleanerBoxCount; ++box)
        recipe.boxes[box] = objClean[box]->isChecked();
    recipe.findChapters = chkFindChapters->isChecked();
    recipe.sort = chkSort->isChecked();
    if (const QVariant chosen = cboCodePage->currentData(); chosen.isValid())
        recipe.codePage = CodePage::Id(chosen.toInt());
    m_conversion = std::make_unique<LibraryConversion>(planConversion(inputs, output),
                                                       std::move(recipe), false);
    const ConversionPlan &plan = m_conversion->plan();
    grdResults->setRowCount(0);
    grdResults->setRowCount(int(plan.jobs.size()));
    for (qsizetype row = 0; row < plan.jobs.size(); ++row) {
        grdResults->setItem(int(row), BookColumn,
                            fixedItem(QDir::toNativeSeparators(plan.jobs[row].input)));
        grdResults->setItem(int(row), StatusColumn, fixedItem(u"waiting"_s));
    }
    prgConvert->setRange(0, int(std::max<qsizetype>(plan.jobs.size(), 1)));
    prgConvert->setValue(0);
    m_done = 0;

    // The converting threads report through queued calls, which Qt drops once the window is
    // gone; the window waits for them before it goes.
    m_conversion->started = [this](qsizetype index) {
        QMetaObject::invokeMethod(
            this, [this, index] { bookStarted(index); }, Qt::QueuedConnection);
    };
    m_conversion->finished = [this](qsizetype index, const ConversionResult &result) {
        QMetaObject::invokeMethod(
            this, [this, index, result] { bookFinished(index, result); }, Qt::QueuedConnection);
    };
    showRunning(true);
    m_worker = std::thread([this, threads = QThread::idealThreadCount()] {
        m_conversion->run(threads);
        QMetaObject::invokeMethod(
            this, [this] { conversionEnded(); }, Qt::QueuedConnection);
    });
}

void FrmConvert::butCancel_Click()
{
    if (m_conversion)
        m_conversion->cancel();
    butCancel->setEnabled(false);
    lblCurrent->setText(u"Stopping after the books being read..."_s);
}

void FrmConvert::grdResults_DblClick(int row)
{
    if (!m_conversion || isConverting() || row < 0
        || row >= qsizetype(m_conversion->results().size())
        || m_conversion->results()[std::size_t(row)].status != ConversionStatus::Converted) {
        return;
    }
    FrmLeafwright *main = frmLeafwright();
    showWindow(main);
    main->dropFile(m_conversion->plan().jobs[row].output);
}

void FrmConvert::bookStarted(qsizetype index)
{
    if (m_conversion && !m_conversion->cancelled()) {
        lblCurrent->setText(
            u"Reading %1"_s.arg(QDir::toNativeSeparators(m_conversion->plan().jobs[index].input)));
    }
    grdResults->item(int(index), StatusColumn)->setText(u"reading"_s);
}

void FrmConvert::bookFinished(qsizetype index, const ConversionResult &result)
{
    const int row = int(index);
    grdResults->item(row, StatusColumn)->setText(statusName(result.status));
    if (result.status == ConversionStatus::Converted)
        grdResults->setItem(row, ChaptersColumn, fixedItem(QString::number(result.chapters)));
    grdResults->setItem(row, MessageColumn, fixedItem(result.message));
    prgConvert->setValue(int(++m_done));
}

void FrmConvert::conversionEnded()
{
    if (m_worker.joinable())
        m_worker.join();
    // Books a stop left: the rows say so.
    for (qsizetype row = 0; row < qsizetype(m_conversion->results().size()); ++row) {
        if (m_conversion->results()[std::size_t(row)].status == ConversionStatus::NotStarted)
            grdResults->item(int(row), StatusColumn)
                ->setText(statusName(ConversionStatus::NotStarted));
    }
    lblCurrent->setText(conversionSummary(*m_conversion));
    showRunning(false);
}

void FrmConvert::showRunning(bool running)
{
    for (QWidget *widget :
         std::initializer_list<QWidget *>{lstBooks, butAddFiles, butAddFolder, butRemove, txtOutput,
                                          butBrowse, chkFindChapters, chkSort, butStart}) {
        widget->setEnabled(!running);
    }
    for (QCheckBox *box : objClean)
        box->setEnabled(!running);
    butCancel->setEnabled(running);
}
