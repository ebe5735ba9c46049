#pragma once
// What a metadata load found, element by element. Values are kept whole, however long.
#include <QList>
#include <QString>

#include <optional>

struct _METADATA_ATTR {
    QString name;
    QString value;
};

struct _METADATA {
    QString name;
    QList<_METADATA_ATTR> attributes;
    std::optional<QString> text; // none for an element without text
};
