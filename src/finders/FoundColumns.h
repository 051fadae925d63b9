#pragma once

#include "core/ResultColumns.h"
#include "finders/FieldTexts.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace vastel {

// The type texts of a scan's extensions, each looked up once. The walk adds to it while the
// grid already shows rows that refer to it, so the column table shares it.
class FoundTypes {
  public:
    // The index of fileTypeText of the name's extension (from its last ".").
    qint32 typeOf(QByteArrayView name);
    const QString& text(qint32 type) const;
    size_t size() const { return texts_.size(); }

  private:
    qint32 typeOfLong(QByteArrayView name, qsizetype dot);
    std::vector<QString> texts_;
    QHash<QByteArray, qint32> byExtension_;
    // Extensions of up to eight bytes (nearly all) by their bytes as a number: hashing a number
    // is much cheaper than hashing bytes, and a walk asks once per file.
    QHash<quint64, qint32> byShortExtension_;
    struct RecentType {
        quint64 key = 0;
        qint32 index = -1;  // -1: empty
    };
    std::array<RecentType, 256> recent_{};
};

// The columns of the quick clean and of the files-by-date grid over their records, as a list of
// fields. Dates and times are the texts of fileDateText and fileTimeText, sizes those of
// thousandsText. Sort keys come from the values where they order as the texts would: the size
// itself, and each distinct date text read back once.
class FoundColumns : public ResultColumns {
  public:
    enum class Field { Name, Size, Modified, Time, Access, Created, Path, Folder, Type };

    FoundColumns(std::vector<Field> fields, std::shared_ptr<const FoundTypes> types);

    // Size, Modified, Time, Access, FileName, Type.
    static std::shared_ptr<FoundColumns> quickClean(std::shared_ptr<const FoundTypes> types);
    // Filename, Accessed, Created, Modified, Size, Folder, Type.
    static std::shared_ptr<FoundColumns> filesByDate(std::shared_ptr<const FoundTypes> types);

    int count() const override { return int(fields_.size()); }
    QString text(const ResultRecord& record, int column) const override;
    NumberKeyOf numberKeyOf(int column) const override;
    WholeKeyOf wholeNumberKeyOf(int column) const override;
    DateKeyOf dateKeyOf(int column) const override;

    // The date and time texts by stamp, made once per distinct date (for vastel-scan too).
    const QString& dateText(quint32 stamp) const { return stamps_.text(stamps_.dateIndex(stamp)); }
    const QString& timeText(quint32 stamp) const { return stamps_.text(stamps_.timeIndex(stamp)); }
    Field field(int column) const { return fields_[size_t(column)]; }
    QString typeText(qint32 type) const { return types_ ? types_->text(type) : QString(); }

  private:
    quint32 stampOf(const ResultRecord& r, Field f) const;

    std::vector<Field> fields_;
    std::shared_ptr<const FoundTypes> types_;
    mutable StampTexts stamps_;
};

}  // namespace vastel
