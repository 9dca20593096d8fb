#include "skerryui/base/PaneText.h"

#include <QList>
#include <QStringDecoder>
#include <algorithm>

namespace skerry {

DecodedText decodeBytes(const std::string& bytes) {
    const QByteArray raw =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    DecodedText decoded{utf8.decode(raw), !utf8.hasError()};
    if (!decoded.utf8) {
        decoded.text = QString::fromLatin1(raw);
    }
    decoded.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    decoded.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return decoded;
}

QString textFromBytes(const std::string& bytes) {
    return decodeBytes(bytes).text;
}

QString paneText(const std::string& bytes) {
    QString text = textFromBytes(bytes);
    const QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    const bool anyLong = std::any_of(lines.begin(), lines.end(), [](QStringView line) {
        return line.size() > LongestShownLine;
    });
    if (!anyLong) {
        return text;
    }
    QString shown;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (i > 0) {
            shown += QLatin1Char('\n');
        }
        if (line.size() > LongestShownLine) {
            shown += line.left(LongestShownLine);
            shown += QStringLiteral(" ... (%1 more characters not shown)")
                         .arg(line.size() - LongestShownLine);
        } else {
            shown += line;
        }
    }
    return shown;
}

} // namespace skerry
