#include "frmMainCode.h"

#include "MainWindowLayout.h"
#include "shredlist/LstArray.h"
#include "shredlist/modGeneral.h"
#include "skin/LinkLabel.h"
#include "skin/ctlSlider.h"
#include "skin/modSkinForm.h"

#include <QLabel>

// What the Shred List sees of the main window (ShredListWindow): showing and hiding it, the
// count captions and the scroller; and the list strip's Selection commands.

using namespace MainWindowLayout;

// ---------------------------------------------------------------------------------------------
// What the Shred List sees

void frmMainCode::ShowForm()
{
    MakeTopMost(this);
    if (isMinimized())
        showNormal();
    show();
}

void frmMainCode::HideForm()
{
    hide();
}

// A burst of additions lays out and repaints the count captions at most every 100 ms, as the
// list does its rows: sizing and repainting them (over the skin) after every item was most of
// a large drop's time. Their texts are always the latest, for whoever reads them.
void frmMainCode::SetCountCaptions(const CountCaptions& captions)
{
    if (!m_countRepaint.isActive()) {
        for (QLabel* label : {m_Label1, m_lblPrompt, m_lblshred})
            label->setUpdatesEnabled(false);
        m_countRepaint.start();
    }
    m_Label1->setText(captions.Label1);
    m_lblPrompt->setText(captions.lblPrompt);
    m_lblshred->setText(captions.lblshred);
}

void frmMainCode::ShowCountCaptions()
{
    for (QLabel* label : {m_Label1, m_lblPrompt, m_lblshred}) {
        label->adjustSize();
        label->setUpdatesEnabled(true);
    }
}

void frmMainCode::SetScroller(int min, int max, int value)
{
    for (long error : {m_myscroller->SetMin(min), m_myscroller->SetMax(max), m_myscroller->SetValue(value)})
        if (error != 0)
            Log(QStringLiteral("SetScroller"), error, QStringLiteral("Invalid property value"));
}

// ---------------------------------------------------------------------------------------------
// Selection commands

void frmMainCode::Selection_Click(int index)
{
    LstArray& list = *m_LstArray;
    switch (index) {
    case 0:
        for (int i = 0; i < list.Count(); ++i)
            list.SetChecked(i, true);
        break;
    case 1:
        for (int i = 0; i < list.Count(); ++i)
            list.SetChecked(i, !list.Checked(i));
        break;
    case 2:
        if (list.Count() > 0 &&
            AskYesNo(this,
                     QStringLiteral("Are you sure you want to clear the selected items from Shred list?"),
                     QStringLiteral("Clear the Shred List?")))
            m_shredList.ClearCheckedItems();
        break;
    case 3:
        if (list.Count() > 0 &&
            AskYesNo(this, QStringLiteral("Are you sure you want to clear the Shred list?"),
                     QStringLiteral("Clear the Shred List?")))
            ClearAll(false);
        break;
    default:
        break;
    }
    RefreshCountLabels();
}

void frmMainCode::RefreshCountLabels()
{
    SetCountCaptions(CountCaptionsFor(ItemCount()));
    m_shredList.SetScroll();
}
