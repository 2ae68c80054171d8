#include "modToolTips.h"

#include "SkinErrors.h"
#include "cToolTip.h"
#include "common/LogError.h"
#include "modSkinForm.h"
#include "platform/Identity.h"

#include <QCoreApplication>
#include <QWidget>

namespace {
const QString Module = QStringLiteral("modToolTips");

struct TipRow
{
    const char* window;
    const char* control;
    const char* text;
};

// "%1" stands for the product name, put in when the tips are registered.
constexpr TipRow TipTable[] = {
    {"frmMainCode", "btnClose", "Close %1"},
    {"frmMainCode", "BtnAbout", "About %1"},
    {"frmMainCode", "btnExpand", "Expand"},
    {"frmMainCode", "btnContract", "Contract"},
    {"frmMainCode", "btnShred", "Shred now"},
    {"frmMainCode", "btnYes", "Yes - Shred now"},
    {"frmMainCode", "btnNo", "No - Cancel"},
    {"frmMainCode", "btnCancel", "Cancel"},
    {"frmMainCode", "btnShow", "Show list"},
    {"frmMainCode", "btnHide", "Hide list"},
    {"frmMainCode", "btnOptions", "Options"},
    {"frmMainCode", "btnBall", "View Announcements"},
    {"frmMainCode", "pic1", "View Announcements"},
    {"frmDialog", "btnClose", "Exit and return to Main Screen"},
    {"frmDialog", "btnYes", "Yes"},
    {"frmDialog", "cmdCancel", "Cancel"},
    {"frmDialog", "cmdNo", "No"},
    {"frmDialog", "cmdOK", "Ok"},
    {"frmDialog", "cmdSysInfo", "Click to view System Information"},
    {"frmAbout", "btnClose", "Exit and return to Main Screen"},
    {"frmAbout", "cmdOK", "Ok"},
    {"frmAbout", "cmdSysInfo", "Click to view System Information"},
    {"frmAbout", "cmdTutorial", "Click to view the Tutorial"},
    {"frmOptions", "btnClose", "Exit and return to Main Screen"},
    {"frmOptions", "btnWipes", "Click to set the number of wipes"},
    {"frmOptions", "btnInstant", "Click to turn on/off Instant Shred"},
    {"frmOptions", "btnFastShred", "Click to set the Shred Method"},
    {"frmOptions", "cmdTutorial", "Click to view the Tutorial"},
    {"frmOptions", "btnSafeShred", "Click to add 'Do Not Shred' folder locations"},
    {"frmTutorial", "Label2", "Return to Chapter List"},
    {"frmTutorial", "btnClose", "Exit and return to Main Screen"},
    {"frmTutorial", "btnYes", "Yes"},
    {"frmTutorial", "btnNo", "No"},
    {"frmTutorial", "btnBack", "Previous page"},
    {"frmTutorial", "btnNext", "Next page"},
    {"frmTutorial", "btnOptions", "Options"},
    {"frmAd", "btnClose", "Exit and return to Main Screen"},
};

cToolTip* g_controlTips = nullptr;
cToolTip* g_areaTips = nullptr;

cToolTip* Make()
{
    return new cToolTip(QCoreApplication::instance());
}

// The chapter-list link of the tutorial has no window of its own: its tip is an area of
// the page frame it lies in.
bool RegisterArea(QWidget* window, const QString& text)
{
    QWidget* frame = window->findChild<QWidget*>(QStringLiteral("slideframe"));
    QWidget* label = frame ? frame->findChild<QWidget*>(QStringLiteral("Label2")) : nullptr;
    if (!label)
        return false;
    const int tx = TwipsX() ? TwipsX() : 15;
    const int ty = TwipsY() ? TwipsY() : 15;
    const int left = label->x() * tx;
    const int top = label->y() * ty;
    AreaTips().SetToolTipItem(frame, 0, left / tx, top / ty, (left + label->width() * tx) / tx,
                              (top + label->height() * ty) / ty, text);
    return true;
}
} // namespace

cToolTip& ControlTips()
{
    if (!g_controlTips)
        g_controlTips = Make();
    return *g_controlTips;
}

cToolTip& AreaTips()
{
    if (!g_areaTips)
        g_areaTips = Make();
    return *g_areaTips;
}

void InitializeTips()
{
    for (cToolTip* tips : {&ControlTips(), &AreaTips()}) {
        tips->SetBkColor(0xC0FFFF);
        tips->SetTxtColor(0);
        tips->SetDelayTime(1000);
        tips->SetVisibleTime(5000);
        tips->SetStyle(1);
    }
}

void CreateTips(QWidget* window)
{
    if (!window) {
        LogError(Module, QStringLiteral("CreateTips"), SkinError::ObjectNotSet,
                 QLatin1String(SkinError::ObjectNotSetText));
        return;
    }
    const QString name = window->objectName();
    const QString product = QLatin1String(Identity::ProductName);
    for (const TipRow& row : TipTable) {
        if (name != QLatin1String(row.window))
            continue;
        const QString control = QLatin1String(row.control);
        const QString text = QString(QLatin1String(row.text)).replace(QStringLiteral("%1"), product);
        bool found = true;
        if (name == QStringLiteral("frmTutorial") && control == QStringLiteral("Label2")) {
            found = RegisterArea(window, text);
        } else if (QWidget* widget = window->findChild<QWidget*>(control)) {
            ControlTips().SetToolTipObj(widget, text);
        } else {
            found = false;
        }
        if (!found) {
            LogError(Module, QStringLiteral("CreateTips"), SkinError::NoSuchMember,
                     QLatin1String(SkinError::NoSuchMemberText));
            return;
        }
    }
}
