#include "app/ui/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kolt {

namespace {
constexpr const char* kGroup = "Recent File List";
constexpr int kLongPath = 48;

QString Key(int i) { return QStringLiteral("File%1").arg(i + 1); }
}  // namespace

void RecentFileList::Load(QSettings& settings) {
    files_.clear();
    settings.beginGroup(kGroup);
    for (int i = 0; i < size_; ++i) {
        const QString p = settings.value(Key(i)).toString();
        if (!p.isEmpty() && !files_.contains(p))
            files_ << p;
    }
    settings.endGroup();
}

void RecentFileList::Save(QSettings& settings) const {
    settings.beginGroup(kGroup);
    for (int i = 0; i < size_; ++i) {
        if (i < files_.size())
            settings.setValue(Key(i), files_[i]);
        else
            settings.remove(Key(i));
    }
    settings.endGroup();
    settings.sync();
}

void RecentFileList::Add(const QString& path) {
    const QString abs = QFileInfo(path).absoluteFilePath();
    files_.removeAll(abs);
    files_.prepend(abs);
    while (files_.size() > size_)
        files_.removeLast();
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < files_.size())
        files_.removeAt(index);
}

QString RecentFileList::MenuText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > kLongPath) {
        const QStringList parts = shown.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.size() > 2)
            shown = QStringLiteral(".../") + parts[parts.size() - 2] + QLatin1Char('/') + parts.last();
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace kolt
