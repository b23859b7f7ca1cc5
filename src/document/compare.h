// The three compare commands' rules: loading the files the dialogs choose,
// filling the application's staging area, and the dialogs' OK conditions.
// The document's initialisation then applies the differs rule of each mode.
#pragma once

#include "catalogue/models.h"
#include "document/marben_doc.h"

#include <array>
#include <string>

namespace kolt {

class IPrompts;

// One file chosen in a compare dialog.
struct LoadedParamFile {
    std::string path;
    std::string fileName;  // name and extension
    SlotFlags slotFlags{};
    SlotValues settings{};
};

// Load a parameter file: the file must open, its first line contain "KOLT", its
// second be "Parameter" exactly and its compare-mode word be 0. A refusal shows
// its message and leaves path, name, flags and settings as they were.
bool LoadParameterFile(const std::string& path, LoadedParamFile& into, IPrompts& prompts);

// The file-with-file dialog's data. The counter counts loads, not files.
struct FileWithFileData {
    std::array<LoadedParamFile, 2> files{};
    int loads = 0;
    SlotFlags differs{};  // computed by Accept

    bool Load(int index, const std::string& path, IPrompts& prompts);  // index 0 or 1
    bool CanAccept() const { return loads >= 2; }
    // OK: false (and nothing computed) before two loads; else the differs flags.
    bool Accept();
};

// The files-with-default dialog's data.
struct FilesWithDefaultData {
    std::array<LoadedParamFile, 3> files{};
    std::array<std::uint8_t, 3> chosen{};
    int loads = 0;
    int model = 0;
    int frequency = 1;  // 0 = "50 Hz", 1 = "60 Hz"

    // Preset from the application's current model and 50 Hz flag.
    void Preset(const CMarbenApp& app);
    bool Load(int index, const std::string& path, IPrompts& prompts);  // index 0..2
    bool CanAccept() const { return loads >= 1; }
    // OK: false before the first load; else the model is brought into 0..10.
    bool Accept();
    int ChosenModel() const { return model >= 0 && model < kModelCount ? model : 0; }
    bool Chosen50Hz() const { return frequency == 0; }
};

// Differs flag of each slot: in use in both files and the settings differ.
SlotFlags FileWithFileDiffers(const LoadedParamFile& file1, const LoadedParamFile& file2);

// Staging for File with File (mode 2).
void StageFileWithFile(CMarbenApp& app, const LoadedParamFile& file1, const LoadedParamFile& file2,
                       const SlotFlags& differs);
// Model, frequency and staging for Files with Default (mode 3).
void StageFilesWithDefault(CMarbenApp& app, const FilesWithDefaultData& data);
// After a successful read of `station`: current station, model (the drive's
// capacity), software version and 50 Hz flag, then staging for mode 1.
void StageInverterWithDefault(CMarbenApp& app, int station, bool hz50);

// "Station_007" for station 7.
std::string StationSourceName(int station);

}  // namespace kolt
