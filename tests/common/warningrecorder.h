// SPDX-License-Identifier: MIT
#pragma once

#include "model/warning.h"

#include <QStringList>

namespace pellimo {

// Records every warning shown while it lives, instead of showing it.
class WarningRecorder {
public:
    WarningRecorder()
        : m_previous(setWarningHandler([this](const QString &text) { m_texts << text; }))
    {
    }
    ~WarningRecorder() { setWarningHandler(m_previous); }
    WarningRecorder(const WarningRecorder &) = delete;
    WarningRecorder &operator=(const WarningRecorder &) = delete;

    const QStringList &texts() const { return m_texts; }

private:
    QStringList m_texts;
    WarningHandler m_previous;
};

} // namespace pellimo
