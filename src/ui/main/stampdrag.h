// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QMimeData;
class QWidget;

namespace pellimo {

// Dragging the stamp out of the preview with the left button: the drag carries the bitmap Set
// puts on the clipboard as image/png, and the same picture as a PNG file in a folder of its own
// (text/uri-list), which a file manager copies and an office program inserts as a picture. The
// folder goes with the window.
class StampDrag : public QObject {
    Q_OBJECT
public:
    // `picture` gives the bitmap to drag; a null image: nothing to drag (the stamp is not drawn).
    StampDrag(QWidget *preview, std::function<QImage()> picture);
    ~StampDrag() override;

    // What runs the drag; by default QDrag, which takes the data. Tests take it themselves.
    void setDragRunner(std::function<void(QMimeData *data)> runner);

    // The drag's data for `picture`: image/png and a PNG file written under `folder`. Null, with
    // the reason, when the file cannot be written.
    static QMimeData *mimeDataFor(const QImage &picture, const QString &folder, QString *why);

    // The PNG's name in its folder.
    static QString fileName();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();

    QWidget *m_preview;
    std::function<QImage()> m_picture;
    std::function<void(QMimeData *)> m_runner;
    std::unique_ptr<QTemporaryDir> m_folder;
    QPoint m_pressedAt;
    bool m_pressed = false;
};

} // namespace pellimo
