#pragma once

#include <QString>

// objDialog: the one file dialog that Open, Import and Save As share. Its FileName is never
// cleared, so each dialog starts with the name last chosen in any of them, in an earlier run
// too.
class CommonDialog
{
public:
    QString FileName;
    QString DialogTitle;
    QString Filter;      // "Description|*.ext"
    int FilterIndex = 1; // the filter the dialog starts on, from 1

    // Each asks for a file through the program's prompts. True when a file was chosen, which is
    // then in FileName; false when the dialog was cancelled or gave no name, leaving FileName.
    bool ShowOpen();
    bool ShowSave();
};
