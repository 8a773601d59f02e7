#include "commondialog.h"

#include "prompts.h"
#include "settings.h"

namespace {

bool show(CommonDialog &dialog, FileDialogKind kind)
{
    const std::optional<QString> chosen = prompts().chooseFile(
        {kind, dialog.DialogTitle, dialog.Filter, dialog.FileName, dialog.FilterIndex});
    if (!chosen || chosen->isEmpty())
        return false;
    dialog.FileName = *chosen;
    rememberChosenFile(*chosen);
    return true;
}

} // namespace

bool CommonDialog::ShowOpen()
{
    return show(*this, FileDialogKind::Open);
}

bool CommonDialog::ShowSave()
{
    return show(*this, FileDialogKind::Save);
}
