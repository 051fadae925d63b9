#pragma once

#include "core/ResultColumns.h"
#include "finders/FieldTexts.h"

#include <QString>
#include <string>
#include <vector>

namespace vastel {

enum class FinderMode;

// The columns of the duplicate and file-hog grid over its records. Duplicates: Filename, Size,
// Modified, Time, Access, Folder, Type; file hogs: Size, Modified, Time, Access, FileName (the
// whole path), Type. Dates and times are the texts of fileDateText and fileTimeText, sizes those
// of thousandsText, types the texts the finder found for the extensions.
//
// Typed sort keys, each ordering exactly like the key read back from the cell's text: the Size
// column's number is the size itself; the dates are read back once per distinct date text, not
// per row; the Type column keys its few texts once; names, folders and paths of ASCII bytes
// are keyed from their bytes without making a text. The Time column keys its text.
class DupColumns : public ResultColumns {
  public:
    // stamps: the texts the finder made during its scan (more are added as asked for);
    // typeTexts: by ResultRecord::type.
    DupColumns(FinderMode mode, StampTexts stamps, std::vector<QString> typeTexts);
    explicit DupColumns(FinderMode mode);

    int count() const override;
    QString text(const ResultRecord& record, int column) const override;

    NumberKeyOf numberKeyOf(int column) const override;
    WholeKeyOf wholeNumberKeyOf(int column) const override;
    DateKeyOf dateKeyOf(int column) const override;
    TextKeyOf textKeyOf(int column) const override;
    int sharedFileColumn() const override;  // the Size column

    // The fields behind the columns.
    enum class Field { Name, Size, Modified, Time, Access, Folder, Path, Type, None };
    Field field(int column) const;

  private:
    const QString& typeText(qint32 type) const;

    FinderMode mode_;
    mutable StampTexts stamps_;  // remembers texts of stamps it had not seen
    std::vector<QString> typeTexts_;
};

}  // namespace vastel
