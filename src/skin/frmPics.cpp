#include "frmPics.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

namespace {
struct Store
{
    QHash<QString, QPixmap> pictures;
    QHash<QString, QPixmap> buttons; // "<set>_<state>"
};

const Store& store()
{
    static const Store s = [] {
        Store loaded;
        QDirIterator it(QStringLiteral(":/skin"), {QStringLiteral("*.png")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            const bool button = file.path().endsWith(QStringLiteral("/buttons"));
            (button ? loaded.buttons : loaded.pictures)
                .insert(file.completeBaseName(), QPixmap(file.filePath()));
        }
        return loaded;
    }();
    return s;
}

struct ButtonRow
{
    const char* window;
    const char* control;
    const char* set;
};

// Which picture set each window's buttons carry. The caption buttons of the dialogs share
// their sets ("OK" is the same picture wherever it appears).
constexpr ButtonRow ButtonTable[] = {
    {"frmMainCode", "btnClose", "close"},
    {"frmMainCode", "BtnAbout", "about"},
    {"frmMainCode", "btnBall", "ball"},
    {"frmMainCode", "btnCancel", "cancel"},
    {"frmMainCode", "btnContract", "contract"},
    {"frmMainCode", "btnExpand", "expand"},
    {"frmMainCode", "btnHide", "hide"},
    {"frmMainCode", "btnNo", "no"},
    {"frmMainCode", "btnOptions", "options"},
    {"frmMainCode", "btnShow", "show"},
    {"frmMainCode", "btnShred", "shred"},
    {"frmMainCode", "btnYes", "yes"},
    {"frmOptions", "btnClose", "close"},
    {"frmOptions", "btnFastShred", "method"},
    {"frmOptions", "btnInstant", "instant"},
    {"frmOptions", "btnSafeShred", "safe"},
    {"frmOptions", "btnWipes", "wipes"},
    {"frmOptions", "cmdTutorial", "tutorial"},
    {"frmDialog", "btnClose", "close"},
    {"frmDialog", "btnYes", "yes"},
    {"frmDialog", "cmdOK", "ok"},
    {"frmDialog", "cmdNo", "no"},
    {"frmDialog", "cmdCancel", "cancel"},
    {"frmDialog", "cmdSysInfo", "system"},
    {"frmAbout", "btnClose", "close"},
    {"frmAbout", "cmdOK", "ok"},
    {"frmAbout", "cmdSysInfo", "system"},
    {"frmAbout", "cmdTutorial", "tutorial"},
    {"frmTutorial", "btnClose", "close"},
    {"frmTutorial", "btnBack", "back"},
    {"frmTutorial", "btnNext", "next"},
    {"frmTutorial", "btnNo", "no"},
    {"frmTutorial", "btnOptions", "options"},
    {"frmTutorial", "btnYes", "yes"},
    {"frmAd", "btnClose", "close"},
};
} // namespace

QPixmap frmPics::Picture(const QString& name)
{
    return store().pictures.value(name);
}

QStringList frmPics::Names()
{
    QStringList names = store().pictures.keys();
    names.sort();
    return names;
}

ButtonImages frmPics::Button(const QString& set)
{
    const auto& b = store().buttons;
    return {b.value(set + QStringLiteral("_up")), b.value(set + QStringLiteral("_hot")),
            b.value(set + QStringLiteral("_down")), b.value(set + QStringLiteral("_disabled"))};
}

QStringList frmPics::ButtonSets()
{
    QStringList sets;
    for (const QString& key : store().buttons.keys())
        if (key.endsWith(QStringLiteral("_up")))
            sets << key.chopped(3);
    sets.sort();
    return sets;
}

QString frmPics::ButtonSetFor(const QString& window, const QString& control)
{
    for (const ButtonRow& row : ButtonTable)
        if (window == QLatin1String(row.window) && control == QLatin1String(row.control))
            return QLatin1String(row.set);
    return {};
}

ButtonImages frmPics::ButtonFor(const QString& window, const QString& control)
{
    const QString set = ButtonSetFor(window, control);
    return set.isEmpty() ? ButtonImages{} : Button(set);
}
