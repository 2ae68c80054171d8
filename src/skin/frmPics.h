#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

// The four pictures of an image button, in the order a button shows them.
struct ButtonImages
{
    QPixmap up;
    QPixmap hot;
    QPixmap down;
    QPixmap disabled;
};

// The skin: every picture the windows draw, loaded from the program's resources on first
// use and shared by all windows. Pictures are addressed by their names ("ImgFill",
// "imgTitle0" .. "imgTitle2" for the title pieces, "ImgLogo", "imgquestion" ...); the
// image buttons' pictures by the name of their set ("close", "ok", "shred" ...).
class frmPics
{
public:
    // The named picture, or a null pixmap for a name the skin does not have.
    static QPixmap Picture(const QString& name);
    static QStringList Names();

    static ButtonImages Button(const QString& set);
    static QStringList ButtonSets();
    // The set that the button `control` of the window `window` carries ("frmDialog",
    // "cmdOK" gives the "ok" set); empty pictures for a button the windows do not have.
    static ButtonImages ButtonFor(const QString& window, const QString& control);
    static QString ButtonSetFor(const QString& window, const QString& control);
};
