// Loads the thumbnail plugin as Dolphin's thumbnail worker does (by its metadata, through its
// factory) and asks it for the picture of one design. Exit status 0 when a picture came back.
//
//   thumbnail_check PLUGIN DESIGN.dst

#include <KIO/ThumbnailCreator>
#include <KPluginFactory>
#include <KPluginMetaData>
#include <QGuiApplication>
#include <QImage>
#include <QUrl>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: thumbnail_check PLUGIN DESIGN\n");
        return 2;
    }
    const QString type = QStringLiteral("application/x-tajima-dst");
    const KPluginMetaData metaData(QString::fromLocal8Bit(argv[1]));
    if (!metaData.mimeTypes().contains(type)) {
        std::fprintf(stderr, "the plugin does not declare %s\n", qPrintable(type));
        return 1;
    }
    const auto factory = KPluginFactory::loadFactory(metaData);
    if (!factory) {
        std::fprintf(stderr, "cannot load the plugin: %s\n", qPrintable(factory.errorString));
        return 1;
    }
    KIO::ThumbnailCreator* creator = factory.plugin->create<KIO::ThumbnailCreator>();
    if (!creator) {
        std::fprintf(stderr, "the plugin makes no thumbnail creator\n");
        return 1;
    }
    const KIO::ThumbnailResult result = creator->create(KIO::ThumbnailRequest(
        QUrl::fromLocalFile(QString::fromLocal8Bit(argv[2])), QSize(256, 256), type, 1.0, 0));
    if (!result.isValid() || result.image().isNull()) {
        std::fprintf(stderr, "no picture came back\n");
        return 1;
    }
    std::printf("%d x %d\n", result.image().width(), result.image().height());
    return 0;
}
