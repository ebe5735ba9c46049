#include "components/tdx/CssUnits.h"

#include <QRegularExpression>

namespace tdx {

QString emToAbsolute(const QString& css)
{
    static const QRegularExpression declaration(QStringLiteral(R"(([A-Za-z-]+)(\s*:\s*)([^;{}"<>]*))"));
    static const QRegularExpression em(QStringLiteral(R"((-?\d*\.?\d+)em\b)"));
    if (!css.contains(QLatin1String("em")))
        return css;
    QString out;
    out.reserve(css.size());
    qsizetype last = 0;
    auto it = declaration.globalMatch(css);
    while (it.hasNext()) {
        const auto match = it.next();
        const QString value = match.captured(3);
        if (!value.contains(QLatin1String("em")))
            continue;
        const bool fontSize = match.captured(1).compare(QLatin1String("font-size"), Qt::CaseInsensitive) == 0;
        QString converted;
        qsizetype pos = 0;
        auto lengths = em.globalMatch(value);
        while (lengths.hasNext()) {
            const auto length = lengths.next();
            converted += value.mid(pos, length.capturedStart() - pos);
            const double n = length.captured(1).toDouble();
            converted += fontSize ? QString::number(n * kBasePointSize, 'g', 6) + "pt"
                                  : QString::number(n * kBasePixelSize, 'g', 6) + "px";
            pos = length.capturedEnd();
        }
        converted += value.mid(pos);
        out += css.mid(last, match.capturedStart(3) - last);
        out += converted;
        last = match.capturedEnd(3);
    }
    out += css.mid(last);
    return out;
}

} // namespace tdx
