#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace loomscope {

class ConfigStore;
class UserMessages;

// The company information dialog: the shop's name, website, e-mail and telephone that printed
// pages carry, and the logo. Texts are kept only when "保存" is pressed; a picked logo is
// written at once as the 50 x 50 "companylogo.bmp" of the program home.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    // `config` holds the texts; the logo is kept in `programHome`.
    TForm9(ConfigStore& config, const QString& programHome, UserMessages& messages,
           QWidget* parent = nullptr);

    // Fills the fields from the settings and the picture from the logo file (done on show).
    void loadFromConfig();
    // "..." after the picture was chosen: shows it and writes the logo. False when the picture
    // cannot be read or the logo not written (the user has been told; nothing was written).
    bool pickLogo(const QString& picturePath);
    // "保存": the four texts into config.ini. False when that failed (the user has been told).
    bool saveTexts();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseLogo();
    void showPicture(const QImage& picture);

    ConfigStore& config_;
    std::string programHome_;
    UserMessages& messages_;
    QLineEdit* Edit1 = nullptr; // company name
    QLineEdit* Edit2 = nullptr; // website
    QLineEdit* Edit3 = nullptr; // e-mail
    QLineEdit* Edit4 = nullptr; // telephone
    QLabel* Image1 = nullptr;   // the logo, scaled to fit and centred
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
};

} // namespace loomscope
