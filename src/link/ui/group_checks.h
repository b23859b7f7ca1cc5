// The "Basic Function (Fxx)" / "Advanced Function (Cxx)" pair of the Read and
// Write dialogs: turning one off turns the other on, so a group is always chosen.
#pragma once

class QCheckBox;

namespace kolt {

void KeepOneChecked(QCheckBox* basic, QCheckBox* advanced);

// Makes the pair, both checked and kept so.
void MakeGroupChecks(QCheckBox*& basic, QCheckBox*& advanced);

}  // namespace kolt
