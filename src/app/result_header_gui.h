#pragma once

#include <QHeaderView>

// The column header of the result lists. Qt sizes every caption as if it
// were bold, for headers that show the current column highlighted; these
// never highlight one, and measuring in bold opens the bold face, a
// further font file of some 20 MB for the Japanese captions, before the
// window can show. The captions are measured in the face they are drawn in.
class ResultHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit ResultHeader(QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
