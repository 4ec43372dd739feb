// A drop-down list in the skin's colours that shows its arrow: the skin's list style leaves the
// arrow out, and a closed list would look like a box of text.
#pragma once

#include <QComboBox>

namespace qx::keyassign::window {

class DropDownList final : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qx::keyassign::window
