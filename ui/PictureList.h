// One picture list (il...): a numbered set of small pictures of one size, each kept at 1x and,
// where the artwork has one, at 2x so that it stays crisp on high-density screens.
#pragma once

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

class ProgramFolder;
class QPainter;
class QPoint;

class PictureList {
public:
    explicit PictureList(QSize pictureSize) : pictureSize_(pictureSize) {}

    // Loads the pictures `nameFor(0)` .. `nameFor(count - 1)` (supplied-file names without ".png";
    // "@2x.png" names the 2x form). Returns false when a 1x picture is missing or unreadable; that
    // index then draws nothing, the others are still loaded.
    template <typename NameFor>
    bool Load(const ProgramFolder& folder, int count, NameFor nameFor) {
        pictures_.clear();
        bool complete = true;
        for (int index = 0; index < count; ++index)
            complete = Append(folder, nameFor(index)) && complete;
        return complete;
    }

    int Count() const { return static_cast<int>(pictures_.size()); }
    QSize PictureSize() const { return pictureSize_; }
    // The picture at index; a null icon outside the list.
    QIcon Picture(int index) const;
    // Draws the picture at index with its top left corner at topLeft; nothing outside the list.
    void Draw(QPainter& painter, const QPoint& topLeft, int index) const;

private:
    bool Append(const ProgramFolder& folder, const QString& baseName);

    QSize pictureSize_;
    QList<QIcon> pictures_;
};
