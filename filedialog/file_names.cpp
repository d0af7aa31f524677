// SPDX-License-Identifier: MIT
#include "filedialog/file_names.h"

namespace solvena::filedialog {

QString JoinPath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool EndsInDotTxtOrZktAnyCase(const QString& name) {
    return name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String("zkt"), Qt::CaseInsensitive);
}

bool EndsInTxtOrZktLowerOrUpper(const QString& path) {
    const QString last = path.right(3);
    return last == QLatin1String("txt") || last == QLatin1String("TXT") ||
           last == QLatin1String("ZKT") || last == QLatin1String("zkt");
}

bool ListedAsDocument(const QString& name) {
    return EndsInDotTxtOrZktAnyCase(name) || document::IsSealedName(name.toStdString());
}

bool NamedOnCommandLine(const QString& path) {
    return EndsInTxtOrZktLowerOrUpper(path) || document::IsSealedName(path.toStdString());
}

QString NextFormat(const QString& format) {
    if (format == QLatin1String(kZkt)) {
        return QString::fromLatin1(kTxt);
    }
    return QString::fromLatin1(format == QLatin1String(kTxt) ? kGpg : kZkt);
}

bool EndsInDotTxtOrDotZktLowerOrUpper(const QString& name) {
    const QString last = name.right(4);
    return last == QLatin1String(".txt") || last == QLatin1String(".zkt") ||
           last == QLatin1String(".TXT") || last == QLatin1String(".ZKT");
}

QString OpenPath(const QString& folder, const QString& nameBox) {
    return nameBox.startsWith(QLatin1Char('/')) ? nameBox : JoinPath(folder, nameBox);
}

QString SavePath(const QString& folder, const QString& nameBox, const QString& format) {
    const QString path = OpenPath(folder, nameBox);
    if (EndsInDotTxtOrDotZktLowerOrUpper(nameBox) ||
        document::IsSealedName(nameBox.toStdString())) {
        return path;
    }
    if (format == QLatin1String(kGpg)) {
        return path + QLatin1Char('.') + QLatin1String(kTxt) + QLatin1Char('.') + format;
    }
    return path + QLatin1Char('.') + format;
}

}  // namespace solvena::filedialog
