#pragma once

#include <QString>

namespace vq {

// The ten display texts of one title, in the order of the summary's columns.
struct TExportList {
    QString Title;
    QString TypeText;
    QString EpisodeCount;
    QString SizeText;
    QString DurationText;
    QString QualityText;
    QString SoundText;
    QString SubInText;
    QString SubExtText;
    QString CommentText;

    static constexpr int FieldCount = 10;
    const QString &field(int i) const { return const_cast<TExportList *>(this)->field(i); }
    QString &field(int i) {
        QString *f[FieldCount] = {&Title,       &TypeText,  &EpisodeCount, &SizeText,   &DurationText,
                                  &QualityText, &SoundText, &SubInText,    &SubExtText, &CommentText};
        return *f[i];
    }
};

} // namespace vq
