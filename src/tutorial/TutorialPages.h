#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// The tutorial's eight chapters without the window: each page's picture, text and navigation.
// The product name is put into the texts where they name the program.
namespace TutorialPages {
inline constexpr int ChapterCount = 8;

// The chapter's link text, which is also the title of each of its pages.
QString ChapterTitle(int chapter, const QString& product);

// How many pages a chapter has: 3 for chapters 0 and 7, 1 for the others, 0 for no chapter.
int PageCount(int chapter);

struct Page
{
    QString picture; // the skin picture's name; empty for a page without one
    QString text;    // lines separated by CR LF
    int back = -1;   // the page Back leads to; -1: Back is hidden
    int next = -1;   // the page Next leads to; -1: Next is hidden
};

// The page, or an empty page (no text) for a chapter or page that does not exist.
Page PageAt(int chapter, int page, const QString& product);

// Where the page text goes, in twips, for a picture of pictureSize (twips) at pictureTopLeft:
// below a picture 3500 twips wide or more, beside a narrower one, alone without one.
QRect TextPlace(QPoint pictureTopLeft, QSize pictureSize);
} // namespace TutorialPages
