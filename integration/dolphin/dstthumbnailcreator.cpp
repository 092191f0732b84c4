// Dolphin's thumbnails of DST designs, drawn by `loomscope --thumbnail -s SIZE IN OUT` in a
// child process: the program draws them exactly as the GNOME and Xfce file managers get them,
// and this plugin (Qt 5) never loads the program's code (Qt 6).

#include <KIO/ThumbnailCreator>
#include <KPluginFactory>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A picture that takes longer than this is not worth waiting for in a folder view.
constexpr int kTimeoutMs = 20000;

QString thumbnailProgram()
{
    const QString installed = QStringLiteral(LOOMSCOPE_PROGRAM);
    if (QFileInfo(installed).isExecutable())
        return installed;
    return QStandardPaths::findExecutable(QStringLiteral("loomscope"));
}

} // namespace

class DstThumbnailCreator : public KIO::ThumbnailCreator {
    Q_OBJECT
public:
    DstThumbnailCreator(QObject* parent, const QVariantList& args)
        : KIO::ThumbnailCreator(parent, args)
    {
    }

    KIO::ThumbnailResult create(const KIO::ThumbnailRequest& request) override
    {
        const QString program = thumbnailProgram();
        QTemporaryDir folder;
        if (program.isEmpty() || !request.url().isLocalFile() || !folder.isValid())
            return KIO::ThumbnailResult::fail();
        const QString output = folder.filePath(QStringLiteral("thumbnail.png"));
        const QSize target = request.targetSize();
        const int size = qBound(16, qMax(target.width(), target.height()), 1024);
        QProcess process;
        process.setProgram(program);
        process.setArguments({QStringLiteral("--thumbnail"), QStringLiteral("-s"),
                              QString::number(size), request.url().toLocalFile(), output});
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start();
        if (!process.waitForFinished(kTimeoutMs)) {
            process.kill();
            process.waitForFinished();
            return KIO::ThumbnailResult::fail();
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return KIO::ThumbnailResult::fail();
        const QImage image(output);
        return image.isNull() ? KIO::ThumbnailResult::fail() : KIO::ThumbnailResult::pass(image);
    }
};

K_PLUGIN_CLASS_WITH_JSON(DstThumbnailCreator, "loomscopethumbnail.json")

#include "dstthumbnailcreator.moc"
