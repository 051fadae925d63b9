#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace vastel {

// A text as a key that compares without regard to case: the UTF-8 bytes with ASCII letters in
// upper case and, when the bytes are valid UTF-8, every other letter upper-cased as well. Bytes
// that are not UTF-8 stay as they are, so two names that differ only there keep different keys.
// Keys compare as unsigned bytes, which is code point order. A key that needs no change shares
// the bytes it was made from.
QByteArray foldedKey(const QByteArray& bytes);
QByteArray foldedKey(const QString& text);

// Remembers the date and time texts of packed stamps, so that a scan of many files formats
// each distinct date and time once. The texts are those of fileDateText and fileTimeText.
class StampTexts {
  public:
    StampTexts();
    // Indexes into texts(): the date and the time part of a stamp. Equal stamps share an index;
    // different stamps may have equal texts under different indexes.
    int dateIndex(quint32 stamp);
    int timeIndex(quint32 stamp);
    // The same for stamps already given to dateIndex or timeIndex, without adding texts.
    int knownDateIndex(quint32 stamp) const {
        return knownIndex(stamp, byDate_, stamp >> 16, invalidDates_);
    }
    int knownTimeIndex(quint32 stamp) const {
        return knownIndex(stamp, byTime_, stamp & 0xFFFF, invalidTimes_);
    }
    const QString& text(int index) const { return texts_[size_t(index)]; }
    size_t size() const { return texts_.size(); }

  private:
    int knownIndex(quint32 stamp, const std::vector<qint32>& valid, quint32 part,
                   const QHash<quint32, qint32>& invalid) const {
        if (stamp == 0) return zero_;
        // An invalid stamp is always in its table once seen; a valid one never is.
        if (!invalid.isEmpty())
            if (const auto it = invalid.constFind(stamp); it != invalid.constEnd())
                return it.value();
        return valid[part];
    }
    int intern(const QString& text);
    qint32 zero_ = -1;  // the index of the empty text of stamp 0
    // The text index of a stamp: valid stamps by the part that decides the text, others whole.
    int indexOf(quint32 stamp, std::vector<qint32>& valid, quint32 part,
                QHash<quint32, qint32>& invalid, QString (*textOf)(quint32));
    std::vector<qint32> byDate_;  // by the stamp's high 16 bits, for valid stamps
    std::vector<qint32> byTime_;  // by the low 16 bits
    QHash<quint32, qint32> invalidDates_, invalidTimes_;
    QHash<QString, qint32> indexOfText_;
    std::vector<QString> texts_;
};

// Ranks of keys in unsigned byte order, equal keys sharing a rank.
std::vector<qint32> rankKeys(const std::vector<QByteArray>& keys);
// Ranks of texts in the order of their keys (foldedKey), equal keys sharing a rank.
std::vector<qint32> rankTexts(const std::vector<QString>& texts);

}  // namespace vastel
