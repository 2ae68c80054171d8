// ChangeSlide: one page of a chapter in the tutorial window.
#include "TutorialPages.h"
#include "frmTutorial.h"
#include "platform/Identity.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"

#include <QLabel>

void frmTutorial::ChangeSlide(qint16 chapter, qint16 page)
{
    m_tutorialFrame->hide();
    m_slideframe->show();
    m_imgSlide->hide();
    m_tuttxt->hide();
    const bool isChapter = chapter >= 0 && chapter < TutorialPages::ChapterCount;
    m_tutlabel->setText(isChapter ? m_Label1[chapter]->text() : QString());
    m_tutlabel->adjustSize();
    for (MyTopButton* button : {m_btnBack, m_btnNext}) {
        button->hide();
        button->SetEnabled(false);
    }
    m_btnYes->hide();
    m_btnNo->hide();
    m_imgSlide->clear();
    PlaceText(TutorialPages::TextPlace({}, {}));

    const TutorialPages::Page shown =
        TutorialPages::PageAt(chapter, page, QLatin1String(Identity::ProductName));
    if (shown.text.isEmpty())
        return;
    QString text = shown.text;
    m_tuttxt->setText(text.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    if (!shown.picture.isEmpty()) {
        const QPixmap picture = frmPics::Picture(shown.picture);
        m_imgSlide->setPixmap(picture);
        m_imgSlide->adjustSize();
        m_imgSlide->setAccessibleName(m_tutlabel->text());
        m_imgSlide->show();
        const QPoint topLeft(m_imgSlide->x() * TwipsX(), m_imgSlide->y() * TwipsY());
        PlaceText(TutorialPages::TextPlace(topLeft,
                                           QSize(picture.width() * TwipsX(), picture.height() * TwipsY())));
    } else {
        PlaceText(TutorialPages::TextPlace({}, {}));
    }
    m_tuttxt->show();
    // The page's text takes the keyboard, so that a screen reader reads the page at once.
    m_tuttxt->setFocus();
    if (chapter == 0 || chapter == 7) {
        const auto navigate = [](MyTopButton* button, int target, int hiddenTag) {
            button->setProperty("tag", QString::number(target >= 0 ? target : hiddenTag));
            button->setVisible(target >= 0);
            button->SetEnabled(target >= 0);
        };
        navigate(m_btnBack, shown.back, 0);
        navigate(m_btnNext, shown.next, 3);
    }
}

// The text takes the place the page gives it. Where its lines need more height than that, it
// grows down the frame, and the Back/Next row moves below it as far as the frame allows, so
// that no line of a page is cut off or hidden under a button.
void frmTutorial::PlaceText(const QRect& twips)
{
    const QRect place(PixelsX(twips.x()), PixelsY(twips.y()), PixelsX(twips.width()),
                      PixelsY(twips.height()));
    const int frameBottom = m_slideframe->height() - 6;
    const int needed = m_tuttxt->heightForWidth(place.width());
    m_tuttxt->setGeometry(place.x(), place.y(), place.width(), qMax(place.height(), needed));
    const int rowTop =
        qBound(PixelsY(3900), m_tuttxt->geometry().bottom() + 4, frameBottom - m_btnBack->height());
    for (MyTopButton* button : {m_btnBack, m_btnNext, m_btnYes, m_btnNo})
        button->move(button->x(), rowTop);
    m_Label2->move(m_Label2->x(), rowTop + 4);
}
