#pragma once

#include "settingsrecord.h"

#include <QString>

class QLabel;
class QTimer;
class QWidget;

namespace hostlink {

// The controls of a window, found by their design names ("Label12", "hours",
// "Timer1"): the windows reach each other's state this way.
QLabel *label(const QWidget *form, const char *name);
QTimer *timer(const QWidget *form, const char *name);
QString caption(const QWidget *form, const char *name);
void setCaption(const QWidget *form, const char *name, const QString &text);

// The label that holds a field of the current settings record.
const char *labelName(settings::Field field);

// The current settings record as the main window holds it: the captions of
// its labels Label12, Label8, Label11, Label5, Label6, Label7.
class LabelRecord final : public settings::SettingsRecord {
public:
    explicit LabelRecord(QWidget *form) : m_form(form) {}
    QString caption(settings::Field field) const override;
    void setCaption(settings::Field field, const QString &text) override;
    void setFontFace(const QString &face) override;

private:
    QWidget *m_form;
};

} // namespace hostlink
