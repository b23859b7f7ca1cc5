// "Model Select": the model and mains frequency of a new document.
#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QPlainTextEdit;

namespace kolt {

class CModelType : public QDialog {
    Q_OBJECT
public:
    // A preset model outside 0..10 selects model 0; hz50 1 selects "50 Hz", else "60 Hz".
    CModelType(int presetModel, std::uint8_t presetHz50, QWidget* parent = nullptr);

    // After OK the chosen values; after Cancel the presets.
    int ModelIndex() const { return modelIndex_; }
    std::uint8_t Hz50() const { return hz50_; }

    void accept() override;

private:
    void ShowInfo(int model);

    int modelIndex_;
    std::uint8_t hz50_;
    QComboBox* modelList_;
    QComboBox* frequencyList_;
    QPlainTextEdit* info_;
};

}  // namespace kolt
