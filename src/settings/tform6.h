#pragma once

#include "model/colour.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <vector>

class QCheckBox;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace loomscope {

class ConfigStore;
class FabricPreviewBox;
class Tloomscope;
class UserMessages;

// The fabric chooser: a list of fabric colours with their codes, the fabric pictures of the
// program home, and a preview of the chosen picture tinted with the chosen colour. Every
// choice is handed to the viewer at once; "保存设置" keeps the fabric name and colour in
// config.ini. The chosen picture and colour row stay from one showing to the next.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    // `viewer` may be null (then only the preview changes).
    TForm6(ConfigStore& config, const QString& programHome, Tloomscope* viewer,
           UserMessages& messages, QWidget* parent = nullptr);

    // Lists the fabric pictures again, as every showing does.
    void loadFabrics();
    // "保存设置": true when config.ini was written.
    bool saveChoice();

    int selectedPicture() const { return selectedPicture_; }
    int selectedColourRow() const { return selectedRow_; } // 1 to 85, as the list counts them
    TColor fabricColour() const { return fabricColour_; }
    const std::vector<QImage>& pictures() const { return ImageList1; }
    // The tinted 128 x 128 preview tile.
    const QImage& preview() const { return preview_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectPicture(int index);
    void selectColourRow(int row);
    void rebuildPreview();
    void updatePreviewTile();

    ConfigStore& config_;
    QString programHome_;
    Tloomscope* viewer_;
    UserMessages& messages_;

    QTableWidget* ValueListEditor1 = nullptr; // colours and fabric codes
    QListWidget* ListView1 = nullptr;         // fabric pictures
    FabricPreviewBox* PaintBox1 = nullptr;    // the tinted, tiled preview
    QCheckBox* CheckBox1 = nullptr;           // 显示布底
    QPushButton* Button1 = nullptr;           // 确定
    QPushButton* Button2 = nullptr;           // 保存设置

    std::vector<QImage> ImageList1; // the pictures at 128 x 128
    std::vector<std::string> names_;
    int selectedPicture_ = 0;
    int selectedRow_ = 1;
    TColor fabricColour_;
    QImage preview_;
};

} // namespace loomscope
