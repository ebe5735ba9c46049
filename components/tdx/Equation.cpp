#include "components/tdx/Equation.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStringList>
#include <QtMath>

#include <vector>

namespace tdx {

namespace {

constexpr int kMaxDepth = 32;        // deeper groups are drawn as typed
constexpr double kScriptScale = 0.7;
constexpr double kMinPixelSize = 6;

const QHash<QString, QString>& symbols()
{
    static const QHash<QString, QString> names{
        {"alpha", "α"}, {"beta", "β"}, {"gamma", "γ"}, {"delta", "δ"}, {"epsilon", "ε"},
        {"theta", "θ"}, {"lambda", "λ"}, {"mu", "μ"}, {"pi", "π"}, {"sigma", "σ"},
        {"phi", "φ"}, {"omega", "ω"}, {"Delta", "Δ"}, {"Sigma", "Σ"}, {"Omega", "Ω"},
        {"inf", "∞"}, {"sum", "∑"}, {"int", "∫"}, {"pm", "±"}, {"times", "×"},
        {"cdot", "·"}, {"le", "≤"}, {"ge", "≥"}, {"ne", "≠"},
    };
    return names;
}

struct Node {
    enum Kind { Text, Row, Script, Fraction, Root } kind = Row;
    QString text;
    bool italic = false;
    bool spaced = false;             // a relation or operator with room around it
    std::vector<Node> children;      // Row: items; Script: base, sup, sub; Fraction: top, bottom; Root: body
    bool hasSup = false;
    bool hasSub = false;
};

class Parser {
public:
    explicit Parser(const QString& source) : m_text(source) {}

    Node row(int depth)
    {
        Node node;
        for (;;) {
            skipSpaces();
            if (atEnd())
                return node;
            if (peek() == '}') {
                if (depth > 0)
                    return node;
                ++m_pos; // a stray closing brace at the top closes nothing
                continue;
            }
            node.children.push_back(scripted(depth));
        }
    }

    bool atEnd() const { return m_pos >= m_text.size(); }

private:
    QChar peek() const { return m_text.at(m_pos); }
    void skipSpaces()
    {
        while (!atEnd() && peek().isSpace())
            ++m_pos;
    }

    Node scripted(int depth)
    {
        Node base = primary(depth);
        Node script;
        script.kind = Node::Script;
        script.children.resize(3);
        script.children[0] = std::move(base);
        for (;;) {
            skipSpaces();
            if (atEnd() || (peek() != '^' && peek() != '_'))
                break;
            const bool sup = peek() == '^';
            ++m_pos;
            skipSpaces();
            if (atEnd())
                break;
            script.children[sup ? 1 : 2] = primary(depth);
            (sup ? script.hasSup : script.hasSub) = true;
        }
        if (!script.hasSup && !script.hasSub)
            return std::move(script.children[0]);
        return script;
    }

    Node primary(int depth)
    {
        skipSpaces();
        if (atEnd())
            return Node();
        const QChar c = peek();
        if (c == '{' && depth < kMaxDepth) {
            ++m_pos;
            Node group = row(depth + 1);
            if (!atEnd())
                ++m_pos; // the closing brace; a missing one closes at the end
            return group;
        }
        if (c.isLetter() && c.unicode() < 128) {
            const qsizetype start = m_pos;
            while (!atEnd() && peek().isLetter() && peek().unicode() < 128)
                ++m_pos;
            const QString word = m_text.mid(start, m_pos - start);
            if (word == "frac" && depth < kMaxDepth) {
                Node node;
                node.kind = Node::Fraction;
                node.children.push_back(primary(depth + 1));
                node.children.push_back(primary(depth + 1));
                return node;
            }
            if (word == "sqrt" && depth < kMaxDepth) {
                Node node;
                node.kind = Node::Root;
                node.children.push_back(primary(depth + 1));
                return node;
            }
            static const QStringList operators{"pm", "times", "cdot", "le", "ge", "ne"};
            return text(symbols().value(word, word), word.size() == 1, operators.contains(word));
        }
        if (c.isDigit()) {
            const qsizetype start = m_pos;
            while (!atEnd() && (peek().isDigit() || peek() == '.'))
                ++m_pos;
            return text(m_text.mid(start, m_pos - start), false, false);
        }
        ++m_pos;
        static const QString relations = QStringLiteral("=<>+-");
        if (c == '<' && !atEnd() && peek() == '=') {
            ++m_pos;
            return text(QStringLiteral("≤"), false, true);
        }
        if (c == '>' && !atEnd() && peek() == '=') {
            ++m_pos;
            return text(QStringLiteral("≥"), false, true);
        }
        if (c == '*')
            return text(QStringLiteral("·"), false, true);
        return text(QString(c == '-' ? QChar(0x2212) : c), false, relations.contains(c));
    }

    static Node text(const QString& value, bool italic, bool spaced)
    {
        Node node;
        node.kind = Node::Text;
        node.text = value;
        node.italic = italic;
        node.spaced = spaced;
        return node;
    }

    QString m_text;
    qsizetype m_pos = 0;
};

struct Box {
    double width = 0;
    double ascent = 0;
    double descent = 0;
};

QFont fontFor(double pixelSize, bool italic)
{
    QFont font;
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setItalic(italic);
    return font;
}

double scriptSize(double size) { return qMax(kMinPixelSize, size * kScriptScale); }

// Measures the node and, with a painter, draws it with its baseline at (x, y).
Box layout(const Node& node, double size, QPainter* painter, double x, double y)
{
    switch (node.kind) {
    case Node::Text: {
        const QFont font = fontFor(size, node.italic);
        const QFontMetricsF metrics(font);
        const double pad = node.spaced ? size * 0.2 : 0;
        if (painter) {
            painter->setFont(font);
            painter->drawText(QPointF(x + pad, y), node.text);
        }
        return {metrics.horizontalAdvance(node.text) + 2 * pad, metrics.ascent(), metrics.descent()};
    }
    case Node::Row: {
        Box box;
        box.ascent = QFontMetricsF(fontFor(size, false)).ascent();
        box.descent = QFontMetricsF(fontFor(size, false)).descent();
        for (const Node& child : node.children) {
            const Box part = layout(child, size, painter, x + box.width, y);
            box.width += part.width;
            box.ascent = qMax(box.ascent, part.ascent);
            box.descent = qMax(box.descent, part.descent);
        }
        return box;
    }
    case Node::Script: {
        const Box base = layout(node.children[0], size, painter, x, y);
        const double small = scriptSize(size);
        Box box = base;
        double scriptWidth = 0;
        if (node.hasSup) {
            const Box measured = layout(node.children[1], small, nullptr, 0, 0);
            const double shift = base.ascent - measured.ascent * 0.6;
            layout(node.children[1], small, painter, x + base.width, y - shift);
            scriptWidth = measured.width;
            box.ascent = qMax(box.ascent, shift + measured.ascent);
        }
        if (node.hasSub) {
            const Box measured = layout(node.children[2], small, nullptr, 0, 0);
            const double shift = base.descent + measured.ascent * 0.3;
            layout(node.children[2], small, painter, x + base.width, y + shift);
            scriptWidth = qMax(scriptWidth, measured.width);
            box.descent = qMax(box.descent, shift + measured.descent);
        }
        box.width = base.width + scriptWidth;
        return box;
    }
    case Node::Fraction: {
        const double small = qMax(kMinPixelSize, size * 0.85);
        const Box top = layout(node.children[0], small, nullptr, 0, 0);
        const Box bottom = layout(node.children[1], small, nullptr, 0, 0);
        const double pad = size * 0.15;
        const double width = qMax(top.width, bottom.width) + 2 * pad;
        const double axis = QFontMetricsF(fontFor(size, false)).xHeight() / 2; // the bar, above the baseline
        const double gap = qMax(1.0, size * 0.1);
        if (painter) {
            layout(node.children[0], small, painter, x + (width - top.width) / 2, y - axis - gap - top.descent);
            layout(node.children[1], small, painter, x + (width - bottom.width) / 2, y - axis + gap + bottom.ascent);
            painter->drawLine(QPointF(x + pad / 2, y - axis), QPointF(x + width - pad / 2, y - axis));
        }
        return {width, axis + gap + top.descent + top.ascent, -axis + gap + bottom.ascent + bottom.descent};
    }
    case Node::Root: {
        const Box body = layout(node.children[0], size, nullptr, 0, 0);
        const double sign = size * 0.6;
        const double over = qMax(1.0, size * 0.1);
        if (painter) {
            layout(node.children[0], size, painter, x + sign, y);
            const double top = y - body.ascent - over;
            const QPointF points[] = {{x, y - body.ascent * 0.4}, {x + sign * 0.35, y + body.descent},
                                      {x + sign * 0.8, top}, {x + sign + body.width, top}};
            painter->drawPolyline(points, 4);
        }
        return {sign + body.width, body.ascent + 2 * over, body.descent};
    }
    }
    return {};
}

} // namespace

QImage renderEquation(const QString& source, int pixelSize)
{
    if (source.trimmed().isEmpty())
        return QImage();
    Parser parser(source);
    const Node root = parser.row(0);
    const Box box = layout(root, pixelSize, nullptr, 0, 0);
    const int margin = 2;
    QImage image(qCeil(box.width) + 2 * margin, qCeil(box.ascent + box.descent) + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    layout(root, pixelSize, &painter, margin, margin + box.ascent);
    return image;
}

} // namespace tdx
