// The recent-file list (four entries), kept in QSettings under the "ZEMI" organisation.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace kolt {

class RecentFileList {
public:
    explicit RecentFileList(int size) : size_(size) {}

    void Load(QSettings& settings);
    void Save(QSettings& settings) const;

    // Puts a path at the top; an entry for the same file moves up instead of doubling.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return files_; }
    int Size() const { return size_; }

    // Menu text of entry `index`: "&1 path", with '&' in the path doubled and
    // long paths shortened to their last two parts.
    static QString MenuText(int index, const QString& path);

private:
    int size_;
    QStringList files_;
};

}  // namespace kolt
