// vanisto-skin-render ART_DIR IMAGES_DIR
//
// Reads ART_DIR/skin.manifest and renders every picture and image-button state it lists
// from the SVG sources beside it into IMAGES_DIR (buttons into IMAGES_DIR/buttons), each
// at its exact pixel size. The manifest's lines:
//   state NAME key=value ...              colours of one button state (up, hot, down,
//                                         disabled; "accent.up" ... for a second palette)
//   picture NAME WIDTH HEIGHT SOURCE key=value ...
//   button SET WIDTH HEIGHT SOURCE [palette=NAME] key=value ...
// In a source, {{key}} takes the line's value (a value "@file.svg" takes that file's text),
// the state's value, or W and H for the size.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {
using Values = QHash<QString, QString>;

QString ReadText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return QString::fromUtf8(file.readAll());
}

Values ParseValues(const QStringList& fields, qsizetype from)
{
    Values values;
    for (qsizetype i = from; i < fields.size(); ++i) {
        const qsizetype eq = fields[i].indexOf(QLatin1Char('='));
        if (eq > 0)
            values.insert(fields[i].left(eq),
                          QString(fields[i].mid(eq + 1)).replace(QLatin1Char('~'), QLatin1Char(' ')));
    }
    return values;
}

QString Expand(QString text, const Values& values, const QString& artDir)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{\\{([A-Za-z0-9_]+)\\}\\}"));
    for (int round = 0; round < 5 && text.contains(QStringLiteral("{{")); ++round) {
        QString out;
        qsizetype last = 0;
        for (const auto& match : placeholder.globalMatch(text)) {
            out += text.mid(last, match.capturedStart() - last);
            QString value = values.value(match.captured(1));
            if (value.startsWith(QLatin1Char('@')))
                value = ReadText(artDir + QLatin1Char('/') + value.mid(1));
            out += value;
            last = match.capturedEnd();
        }
        out += text.mid(last);
        text = out;
    }
    return text;
}

void Render(const QString& svg, int width, int height, const QString& target)
{
    QSvgRenderer renderer(svg.toUtf8());
    if (!renderer.isValid()) {
        std::fprintf(stderr, "invalid SVG for %s\n", qPrintable(target));
        std::exit(1);
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    if (!image.save(target, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        std::exit(1);
    }
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vanisto-skin-render ART_DIR IMAGES_DIR\n");
        return 2;
    }
    const QString artDir = QFile::decodeName(argv[1]);
    const QString imagesDir = QFile::decodeName(argv[2]);
    QDir().mkpath(imagesDir + QStringLiteral("/buttons"));

    QHash<QString, Values> states;
    int count = 0;
    const QStringList lines = ReadText(artDir + QStringLiteral("/skin.manifest")).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")));
        if (f[0] == QStringLiteral("state") && f.size() >= 2) {
            states.insert(f[1], ParseValues(f, 2));
            continue;
        }
        if (f.size() < 5)
            continue;
        const int width = f[2].toInt();
        const int height = f[3].toInt();
        Values values = ParseValues(f, 5);
        values.insert(QStringLiteral("W"), f[2]);
        values.insert(QStringLiteral("H"), f[3]);
        const QString source = ReadText(artDir + QLatin1Char('/') + f[4]);
        if (f[0] == QStringLiteral("vector")) {
            // The filled-in drawing itself, for what wants a scalable picture (the theme icon).
            QFile out(imagesDir + QLatin1Char('/') + f[1] + QStringLiteral(".svg"));
            if (!out.open(QIODevice::WriteOnly) || out.write(Expand(source, values, artDir).toUtf8()) < 0) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
                return 1;
            }
            ++count;
        } else if (f[0] == QStringLiteral("picture")) {
            Render(Expand(source, values, artDir), width, height,
                   imagesDir + QLatin1Char('/') + f[1] + QStringLiteral(".png"));
            ++count;
        } else if (f[0] == QStringLiteral("button")) {
            const QString palette = values.value(QStringLiteral("palette"));
            for (const char* state : {"up", "hot", "down", "disabled"}) {
                const QString name = QLatin1String(state);
                Values all = states.value(palette.isEmpty() ? name : palette + QLatin1Char('.') + name);
                for (auto it = values.cbegin(); it != values.cend(); ++it)
                    all.insert(it.key(), it.value());
                Render(Expand(source, all, artDir), width, height,
                       imagesDir + QStringLiteral("/buttons/") + f[1] + QLatin1Char('_') + name +
                           QStringLiteral(".png"));
                ++count;
            }
        }
    }
    std::printf("%d pictures rendered\n", count);
    return 0;
}
