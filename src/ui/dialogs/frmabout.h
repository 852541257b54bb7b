#pragma once

#include <QDialog>

namespace pellimo {

// The about box: product line with the program's version, web address, copyright, Close.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner = nullptr);
    ~frmAbout() override;
};

} // namespace pellimo
