#pragma once

class QWidget;

class FrmAbout;
class FrmChapters;
class FrmCleaner;
class FrmConvert;
class FrmFind;
class FrmFoundChapters;
class FrmInfo;
class FrmLeafwright;
class FrmReplace;

// Every window exists at most once. Its accessor creates and loads it, hidden, the first time
// anything refers to it, so a command may read the book information or the chapter table from a
// window the user never opened. Unloading destroys a window; the next reference creates it afresh.

FrmLeafwright *frmLeafwright();
// The main window if it exists, without creating it.
FrmLeafwright *frmLeafwrightIfLoaded();
FrmInfo *frmInfo();
FrmChapters *frmChapters();
FrmFoundChapters *frmFoundChapters();
FrmCleaner *frmCleaner();
FrmFind *frmFind();
FrmReplace *frmReplace();
FrmAbout *frmAbout();
FrmConvert *frmConvert();

// The windows that exist now, without creating any; nullptr for one that is not loaded.
struct LoadedWindows
{
    FrmAbout *about;
    FrmChapters *chapters;
    FrmCleaner *cleaner;
    FrmFind *find;
    FrmInfo *info;
    FrmReplace *replace;
    FrmFoundChapters *foundChapters;
    FrmConvert *convert;
};
LoadedWindows loadedWindows();

// The tool windows, unloaded in the order the program's end takes: About, Chapters, Cleaner,
// Find, Info, Replace, then Found Chapters and Convert Books.
// Windows never created are passed over.
void unloadToolWindows();

// Shows a window modeless, or brings it forward with its content when it is already shown.
void showWindow(QWidget *window);
