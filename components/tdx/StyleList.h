#pragma once
// The document's style list and the style file (".sty") it is exported to and imported
// from. The list always holds the twenty built-in styles in the control's own order:
// Normal, Body, Outline 1-7, Page Number, Header, Footnote, then Distribute, LeftAlign,
// RightAlign, CenterAlign, Indent, Outdent, Numbering, Heading.
#include "components/tdx/Style.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tdx {

class StyleList {
public:
    StyleList();

    static QList<Style> builtIn();

    int size() const { return int(m_styles.size()); }
    const Style& at(int index) const { return m_styles.at(index); }
    // By English or local name; -1 when the list has no such style.
    int indexOf(const QString& name) const;
    void reset() { m_styles = builtIn(); }
    void replace(int index, const Style& style);

    // The style file: UTF-8 XML, one element per style with its formats as attributes.
    static QByteArray serialize(const QList<Style>& styles);
    static bool parse(const QByteArray& data, QList<Style>& styles);
    QByteArray serialize() const { return serialize(m_styles); }

private:
    QList<Style> m_styles;
};

} // namespace tdx
