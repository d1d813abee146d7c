#pragma once

#include <QLabel>

// A command button drawn from skin images: "<base>1" normal, "<base>2"
// hover, "<base>3" pressed or disabled, loaded from the skin folder at each
// change. A missing or unreadable image keeps the one shown before.
class SkinButton : public QLabel
{
    Q_OBJECT
public:
    SkinButton(const QString &objectName, const QString &baseName, QWidget *parent);

    const QString &baseName() const { return m_base; }
    // Loads a picture given by its literal ("\\interface\\black\\save1").
    // Returns false (and keeps the picture) when it cannot be read.
    bool loadImage(const QString &literal);
    // The literal of the picture shown now.
    const QString &imageLiteral() const { return m_literal; }
    // Enabling loads the normal image, disabling the greyed one.
    void setEnabledWithImage(bool enabled);
    static QString skinLiteral(const QString &name);

private:
    QString m_base;
    QString m_literal;
};
