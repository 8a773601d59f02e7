#include "windows.h"

#include "settings.h"

#include "frmabout.h"
#include "frmchapters.h"
#include "frmcleaner.h"
#include "frmconvert.h"
#include "frmfind.h"
#include "frmfoundchapters.h"
#include "frminfo.h"
#include "frmleafwright.h"
#include "frmreplace.h"

#include <QPointer>
#include <QWidget>

namespace {

// The one instance of a window: created on first use, forgotten when destroyed.
template<typename Window>
class Instance
{
public:
    Window *get()
    {
        if (!m_window)
            m_window = new Window;
        return m_window;
    }
    Window *ifLoaded() const { return m_window; }
    void unload() { delete m_window.data(); }

private:
    QPointer<Window> m_window;
};

Instance<FrmLeafwright> leafwright;
Instance<FrmInfo> info;
Instance<FrmChapters> chapters;
Instance<FrmCleaner> cleaner;
Instance<FrmFind> find;
Instance<FrmReplace> replace;
Instance<FrmAbout> about;
Instance<FrmFoundChapters> foundChapters;
Instance<FrmConvert> convert;

} // namespace

FrmLeafwright *frmLeafwright()
{
    return leafwright.get();
}

FrmLeafwright *frmLeafwrightIfLoaded()
{
    return leafwright.ifLoaded();
}

FrmInfo *frmInfo()
{
    return info.get();
}

FrmChapters *frmChapters()
{
    return chapters.get();
}

FrmFoundChapters *frmFoundChapters()
{
    return foundChapters.get();
}

FrmCleaner *frmCleaner()
{
    return cleaner.get();
}

FrmFind *frmFind()
{
    return find.get();
}

FrmReplace *frmReplace()
{
    return replace.get();
}

FrmAbout *frmAbout()
{
    return about.get();
}

FrmConvert *frmConvert()
{
    return convert.get();
}

LoadedWindows loadedWindows()
{
    return {about.ifLoaded(), chapters.ifLoaded(), cleaner.ifLoaded(),      find.ifLoaded(),
            info.ifLoaded(),  replace.ifLoaded(),  foundChapters.ifLoaded(), convert.ifLoaded()};
}

void unloadToolWindows()
{
    about.unload();
    chapters.unload();
    cleaner.unload();
    find.unload();
    info.unload();
    replace.unload();
    foundChapters.unload();
    convert.unload();
}

void showWindow(QWidget *window)
{
    keepWindowPlace(window);
    window->show();
    window->raise();
    window->activateWindow();
}
