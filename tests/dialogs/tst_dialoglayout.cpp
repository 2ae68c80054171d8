#include "TestEnvironment.h"
#include "dialogs/DialogLayout.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestDialogLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Lefts in twips in a 4785 wide dialog with 1110 wide buttons; a code the dialog does not know
    // gives OK alone, and the input box always OK and Cancel.
    void buttonPlaces()
    {
        const auto placed = [](bool withInput, qint32 buttons) {
            QStringList row;
            for (const PlacedButton& place : DialogButtonPlaces(withInput, buttons, 4785, 1110))
                row << place.name << QString::number(place.left);
            return row.join(u' ');
        };
        QStringList places;
        for (qint32 buttons = -1; buttons <= 8; ++buttons)
            places << placed(false, buttons);
        places << placed(true, 4);
        const QString ok = u"cmdOK 1837.5"_s;
        QCOMPARE(places,
                 QStringList({ok, ok, ok, u"btnYes 1837.5"_s, u"cmdNo 1837.5"_s,
                              u"btnYes 1282.5 cmdNo 2392.5"_s, ok, u"cmdOK 1282.5 cmdCancel 2392.5"_s,
                              u"cmdOK 1282.5 cmdSysInfo 2392.5"_s, ok, u"cmdOK 1080 cmdCancel 2400"_s}));
    }

    // A line of 13 pixels is 195 twips: 840 + 195 + 200, then 375 + 200 below; the input box
    // takes 560 more.
    void rows()
    {
        const DialogRows one = DialogLayOut(840, 195, 375, false), input = DialogLayOut(840, 195, 375, true);
        QCOMPARE(QList({one.buttonTop, one.height, input.inputTop, input.buttonTop, input.height}),
                 QList({1235, 1810, 1235, 1795, 2370}));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestDialogLayout)
#include "tst_dialoglayout.moc"
