#pragma once

#include <QDialog>
#include <QList>

class LinkLabel;
class MyTopButton;
class QLabel;

// The tutorial: a chapter list of eight questions, and for each chapter one or three pages of
// a title, a picture and a text, with Back and Next where a chapter has more pages. Its image
// buttons act when the left button is released over them; the links on a click.
class frmTutorial : public QDialog
{
    Q_OBJECT
public:
    explicit frmTutorial(QWidget* mainWindow);

    // The tips, the caption, the chapter list shown, the skin.
    void Form_Load();

    // Shows a page of a chapter (modTutorial.cpp). A chapter or page that does not exist shows
    // the page's frame with its title and nothing more.
    void ChangeSlide(qint16 chapter, qint16 page);

protected:
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MyTopButton* AddButton(const QString& name, QWidget* parent);
    LinkLabel* AddLink(const QString& name, const QString& text, QWidget* parent);
    void BuildChapterList();
    void BuildSlide();
    void ShowChapterList();
    void NormalLinks();

    void Label1_Click(int index);
    void btnBackNext_MouseUp(const MyTopButton* button);
    void btnOptions_MouseUp();
    void btnClose_MouseUp();
    void PlaceText(const QRect& twips);

    QWidget* m_mainWindow = nullptr;
    QLabel* m_lblCaption = nullptr;
    QLabel* m_tutorialFrame = nullptr;
    QList<LinkLabel*> m_Label1;
    QLabel* m_slideframe = nullptr;
    QLabel* m_tutlabel = nullptr;
    QLabel* m_imgSlide = nullptr;
    QLabel* m_tuttxt = nullptr;
    MyTopButton* m_btnBack = nullptr;
    MyTopButton* m_btnNext = nullptr;
    MyTopButton* m_btnYes = nullptr;
    MyTopButton* m_btnNo = nullptr;
    LinkLabel* m_Label2 = nullptr;
    QLabel* m_lblidx = nullptr;
    MyTopButton* m_btnOptions = nullptr;
    MyTopButton* m_btnClose = nullptr;
};

// The tutorial over the main window, modally; the main window is topmost again when it closes.
// This is the opener the about and options windows reach through SetTutorialOpener.
void OpenTutorial(QWidget* mainWindow);
