#include "TutorialPages.h"

namespace {
const QString Crlf = QStringLiteral("\r\n");

// The text's place when a page has no picture, and the room it may share with one.
constexpr int TextLeft = 720;
constexpr int TextTop = 1080;
constexpr int TextWidth = 5535;
constexpr int TextHeight = 2775;
constexpr int Gap = 100;
constexpr int WidePicture = 3500;

QString Chapter0(int page, const QString& P)
{
    switch (page) {
    case 0:
        return QStringLiteral("There are 3 ways to shred files with ") + P + QStringLiteral(".") + Crlf +
               Crlf + P +
               QStringLiteral(
                   " adds itself to your file manager's context menu (the right-click menu) as a new "
                   "Delete function. ") +
               QStringLiteral("By simply right-clicking on a file, and selecting 'Delete with ") + P +
               QStringLiteral("', you can easily shred single files or entire directories.");
    case 1:
        return QStringLiteral("Another method of shredding files with ") + P +
               QStringLiteral(" is to drag and drop files onto the ") + P +
               QStringLiteral(" icon in your applications menu or on your desktop. ") + P +
               QStringLiteral(" acts as another Trash, but with secure shred capability.");
    default:
        return QStringLiteral("Finally, you can simply drag and drop files directly onto the ") + P +
               QStringLiteral(" prompt when it is visible.");
    }
}

QString Chapter7(int page, const QString& P)
{
    switch (page) {
    case 0:
        return QStringLiteral("There are 3 methods of shredding available in ") + P +
               QStringLiteral(", NORMAL, ENHANCED, and ULTRA. Each method is more secure than the previous "
                              "method, and takes longer, as it writes more patterns per wipe.") +
               Crlf + Crlf +
               QStringLiteral(
                   "The NORMAL Shred Method uses a simplified version of the US DoD 5220.22-M File "
                   "Deletion Standard: each wipe writes one random letter over the whole file.");
    case 1:
        return QStringLiteral(
            "The ENHANCED Shred Method uses the full version version of the US DoD 5220.22-M "
            "File Deletion Standard: each wipe writes the digit 1, then the digit 0, then random "
            "letters, and every pattern reaches the disk before the next.");
    default:
        return QStringLiteral(
                   "The ULTRA Shred Method uses an ultra secure version of the US DoD 5220.22-M File "
                   "Deletion Standard: each wipe writes 1, 0, 1010..., 0101..., then random letters to "
                   "the disk.") +
               QStringLiteral(" It is the most secure Shred Method, but takes the longest time.");
    }
}

QString OnePageText(int chapter, const QString& P)
{
    switch (chapter) {
    case 1:
        return QStringLiteral("By default, ") + P +
               QStringLiteral(" does not immediately shred a file. A confirmation prompt is displayed first, "
                              "asking whether you really want to shred the items.") +
               QStringLiteral(" However, turning 'Instant Shred' on (see above example) ignores the "
                              "confirmation prompt and shreds the items at once.") +
               Crlf + Crlf +
               QStringLiteral(
                   "USE CAUTION WHEN TURNING ON INSTANT SHRED AS SHREDDED ITEMS CANNOT BE RECOVERED. "
                   "With Instant Shred on, whatever you drop on the window or send from the file "
                   "manager is destroyed.");
    case 2:
        return QStringLiteral(
                   "'Shredding' a file is a process whereby a file's hard disk location is "
                   "purposefully overwritten many times, using random data. Copy-on-write file "
                   "systems (btrfs, zfs), snapshots and SSD wear levelling can keep copies no pass "
                   "reaches. They follow methods") +
               QStringLiteral(" approved by organizations such as the US Department of Defense (DoD) for "
                              "erasing magnetic disks, pass by pass.");
    case 3:
        return QStringLiteral(
            "You can set the number of file overwrites (wipes) from the options screen. "
            "Typically, 8 wipes are sufficient; more wipes take more time. Type the number into "
            "the box beside the wipes button, then click the button or press Enter. The "
            "ENHANCED and ULTRA methods need at least 8 wipes: fewer wipes set the method back "
            "to NORMAL.");
    case 4:
        return QStringLiteral(
                   "No. Deleting a file using your file manager's 'Delete' function only moves it to "
                   "the Trash, and emptying the Trash only removes the file's name: the system marks "
                   "the space the file used as free, but its contents stay on the disk until other "
                   "files happen to be written over them. Until that happens, recovery programs can "
                   "often read them back easily.") +
               QStringLiteral(
                   " However, until the file has been overwritten numerous times, traces of its data "
                   "can remain. Shredding overwrites the contents first, leaving meaningless patterns "
                   "in their place.");
    case 5:
        return QStringLiteral("No. Shredding a file with ") + P +
               QStringLiteral(" permanantly removes the file from your computer hard disk drive by first,") +
               QStringLiteral(
                   " overwriting ('wiping') the file repeatedly with random data, then renaming and "
                   "deleting it. (Copy-on-write file systems, snapshots and SSDs may keep copies.)") +
               QStringLiteral(" There is no way to recover a file shredded with ") + P + QStringLiteral(".");
    case 6:
        return QStringLiteral(
                   "On the Options screen, you can setup as many as 100 protected 'Do Not Shred' "
                   "folder locations. Click the folder button and choose a folder to add it to the "
                   "list below.") +
               Crlf + Crlf + QStringLiteral("Items in a 'Do Not Shred' folder location cannot be shredded.");
    default:
        return {};
    }
}

QString Picture(int chapter, int page)
{
    static const char* const threePages[2][3] = {{"ImgContext", "ImgIcon", "imgContainer"},
                                                 {"imgShredNormal", "imgShredEnhanced", "imgShredUltra"}};
    static const char* const onePage[] = {"", "ImgInstant", "", "imgwipes", "", "", "ImgDoNotShred", ""};
    if (chapter == 0 || chapter == 7)
        return QLatin1String(threePages[chapter == 7][page]);
    return QLatin1String(onePage[chapter]);
}
} // namespace

QString TutorialPages::ChapterTitle(int chapter, const QString& product)
{
    switch (chapter) {
    case 0:
        return QStringLiteral("How do I shred a file?");
    case 1:
        return QStringLiteral("What is 'Instant Shred'?");
    case 2:
        return QStringLiteral("What does 'Shredding' a file actually do?");
    case 3:
        return QStringLiteral("How do I set the number of wipes?");
    case 4:
        return QStringLiteral("Doesn't the regular 'Delete' erase a file?");
    case 5:
        return QStringLiteral("Can a file shredded with ") + product + QStringLiteral(" be recovered?");
    case 6:
        return QStringLiteral("How do I create a 'Do Not Shred' folder location?");
    case 7:
        return QStringLiteral("What is Shred Method?");
    default:
        return {};
    }
}

int TutorialPages::PageCount(int chapter)
{
    if (chapter == 0 || chapter == 7)
        return 3;
    return chapter >= 0 && chapter < ChapterCount ? 1 : 0;
}

TutorialPages::Page TutorialPages::PageAt(int chapter, int page, const QString& product)
{
    if (page < 0 || page >= PageCount(chapter))
        return {};
    Page shown;
    shown.picture = Picture(chapter, page);
    if (chapter == 0 || chapter == 7) {
        shown.text = chapter == 0 ? Chapter0(page, product) : Chapter7(page, product);
        shown.back = page > 0 ? page - 1 : -1;
        shown.next = page < 2 ? page + 1 : -1;
    } else {
        shown.text = OnePageText(chapter, product);
    }
    return shown;
}

QRect TutorialPages::TextPlace(QPoint pictureTopLeft, QSize pictureSize)
{
    if (pictureSize.isEmpty())
        return QRect(TextLeft, TextTop, TextWidth, TextHeight);
    const int left = pictureTopLeft.x();
    const int top = pictureTopLeft.y();
    if (pictureSize.width() >= WidePicture)
        return QRect(left, top + pictureSize.height() + Gap, TextWidth,
                     TextHeight - pictureSize.height() - Gap);
    return QRect(left + pictureSize.width() + Gap, top, TextWidth - pictureSize.width() - Gap, TextHeight);
}
