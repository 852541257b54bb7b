// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pellimo {

// The about box: product line with the program's version, web address, copyright, Close.
// Enter closes it (Close has the focus); Escape does not, the title-bar close box does.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *owner = nullptr);
    ~AboutDialog() override;

    // The texts the box shows.
    static QString productLine(); // "Pellimo v" and the program's version
    static QString webAddress();
    static QString copyrightLine();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private Q_SLOTS:
    void onCloseClicked();

private:
    QLabel *m_copyrightLine = nullptr;
    QLabel *m_productLine = nullptr;
    QPushButton *m_closeButton = nullptr;
    QLineEdit *m_webAddress = nullptr;
};

} // namespace pellimo
