#include "prompts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

class QtPrompts final : public Prompts
{
public:
    bool askYesNo(const QString &title, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    SaveChoice askSaveChanges(const QString &title, const QString &text) override
    {
        QMessageBox box(QMessageBox::Warning, title, text,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        box.button(QMessageBox::Save)->setText(u"&Save"_s);
        box.button(QMessageBox::Discard)->setText(u"&Discard"_s);
        switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
        }
    }

    RestoreChoice askRestore(const QString &title, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, title, text);
        QPushButton *restore = box.addButton(u"&Restore"_s, QMessageBox::AcceptRole);
        QPushButton *discard = box.addButton(u"&Discard"_s, QMessageBox::DestructiveRole);
        QPushButton *later = box.addButton(u"&Later"_s, QMessageBox::RejectRole);
        box.setDefaultButton(restore);
        box.setEscapeButton(later);
        box.exec();
        if (box.clickedButton() == restore)
            return RestoreChoice::Restore;
        return box.clickedButton() == discard ? RestoreChoice::Discard : RestoreChoice::Later;
    }

    void showMessage(const QString &title, const QString &text, MessageIcon icon) override
    {
        QMessageBox box(qtIcon(icon), title, text, QMessageBox::Ok);
        box.exec();
    }

    std::optional<QString> chooseFile(const FileDialogRequest &request) override
    {
        QFileDialog dialog(nullptr, request.title);
        const QStringList filters = qtNameFilter(request.filter).split(u";;"_s);
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.filterIndex - 1]);
        const bool saving = request.kind == FileDialogKind::Save;
        dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!request.fileName.isEmpty()) {
            const QFileInfo start(request.fileName);
            dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }

    QStringList chooseFiles(const FileDialogRequest &request) override
    {
        QFileDialog dialog(nullptr, request.title);
        if (request.kind == FileDialogKind::Folder) {
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
        } else {
            dialog.setFileMode(QFileDialog::ExistingFiles);
            dialog.setNameFilter(qtNameFilter(request.filter));
        }
        if (!request.fileName.isEmpty())
            dialog.setDirectory(request.fileName);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles();
    }

private:
    static QMessageBox::Icon qtIcon(MessageIcon icon)
    {
        switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }
};

Prompts *installed = nullptr;

} // namespace

Prompts &prompts()
{
    static QtPrompts qtPrompts;
    return installed ? *installed : qtPrompts;
}

void installPrompts(Prompts *replacement)
{
    installed = replacement;
}

QString qtNameFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return filter;
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(u"%1 (%2)"_s.arg(parts[i], QString(parts[i + 1]).replace(u';', u' ')));
    return filters.join(u";;"_s);
}
