#pragma once
// The label as it will come out, drawn to scale in the line's setup with a sample unit.

#include "LabelContent.h"
#include "LabelLayout.h"

#include <QWidget>

class LabelPreview : public QWidget {
    Q_OBJECT
public:
    explicit LabelPreview(QWidget* parent = nullptr);

    void Show(const LabelLayout& layout, const LabelContent& content);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LabelLayout layout_;
    LabelContent content_;
};
