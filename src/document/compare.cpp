#include "document/compare.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "document/doc_file.h"
#include "document/file_reading.h"

#include <cstdio>
#include <fstream>

namespace kolt {

using file_reading::GetByte;
using file_reading::GetInt;
using file_reading::GetLine;

bool LoadParameterFile(const std::string& path, LoadedParamFile& into, IPrompts& prompts) {
    // A refused file leaves path and name as they were too: otherwise its name
    // would head the comparison's column over the settings of the file loaded
    // before it.
    std::ifstream in;
    if (!file_reading::OpenForReading(path, in, prompts)) return false;

    std::string line;
    std::int32_t mode = -1;  // a file too short to hold the word is not a parameter file
    const bool ok = GetLine(in, line) && line.find("KOLT") != std::string::npos && GetLine(in, line) &&
                    line == text::kTypeParameter && GetInt(in, mode) && mode == 0;
    if (!ok) {
        prompts.Message(text::kBadFormat, text::kOpenCaption, Icon::Error);
        return false;
    }

    // Model index and 50 Hz flag are not used here. A short file leaves the
    // rest at 0.
    std::int32_t model = 0;
    std::uint8_t hz50 = 0;
    GetInt(in, model);
    GetByte(in, hz50);
    SlotFlags flags{};
    SlotValues settings{};
    for (auto& f : flags) GetByte(in, f);
    for (auto& v : settings) GetInt(in, v);
    into.path = path;
    into.fileName = FileNameOf(path);
    into.slotFlags = flags;
    into.settings = settings;
    return true;
}

bool FileWithFileData::Load(int index, const std::string& path, IPrompts& prompts) {
    if (index < 0 || index > 1) return false;
    if (!LoadParameterFile(path, files[index], prompts)) return false;
    ++loads;
    return true;
}

bool FileWithFileData::Accept() {
    if (!CanAccept()) return false;
    differs = FileWithFileDiffers(files[0], files[1]);
    return true;
}

void FilesWithDefaultData::Preset(const CMarbenApp& app) {
    model = app.currentModel >= 0 && app.currentModel < kModelCount ? app.currentModel : 0;
    frequency = app.settings.hz50 ? 0 : 1;
}

bool FilesWithDefaultData::Load(int index, const std::string& path, IPrompts& prompts) {
    if (index < 0 || index > 2) return false;
    if (!LoadParameterFile(path, files[index], prompts)) return false;
    chosen[index] = 1;
    ++loads;
    return true;
}

bool FilesWithDefaultData::Accept() {
    if (!CanAccept()) return false;
    model = ChosenModel();
    return true;
}

SlotFlags FileWithFileDiffers(const LoadedParamFile& file1, const LoadedParamFile& file2) {
    SlotFlags d{};
    for (int slot = 0; slot < kSlotCount; ++slot)
        d[slot] = file1.slotFlags[slot] == 1 && file2.slotFlags[slot] == 1 &&
                          file1.settings[slot] != file2.settings[slot]
                      ? 1
                      : 0;
    return d;
}

void StageFileWithFile(CMarbenApp& app, const LoadedParamFile& file1, const LoadedParamFile& file2,
                       const SlotFlags& differs) {
    CompareStaging& st = app.staging;
    st.compareMode = 2;
    st.present = {1, 1, 0};
    st.names = {file1.fileName, file2.fileName, std::string()};
    st.differs = differs;
    st.values[0] = file1.settings;
    st.values[1] = file2.settings;
    st.values[2].fill(0);
}

void StageFilesWithDefault(CMarbenApp& app, const FilesWithDefaultData& data) {
    app.currentModel = data.ChosenModel();
    app.settings.hz50 = data.Chosen50Hz() ? 1 : 0;
    CompareStaging& st = app.staging;
    st.compareMode = 3;
    for (int k = 0; k < 3; ++k) {
        const bool chosen = data.chosen[k] != 0;
        st.present[k] = chosen ? 1 : 0;
        st.names[k] = chosen ? data.files[k].fileName : std::string(text::kNoStationSource);
        if (chosen)
            st.values[k] = data.files[k].settings;
        else
            st.values[k].fill(0);
    }
}

void StageInverterWithDefault(CMarbenApp& app, int station, bool hz50) {
    app.currentStation = station;
    app.currentModel = app.readCapacity;
    app.softwareVersion = app.readVersion;
    app.settings.hz50 = hz50 ? 1 : 0;
    CompareStaging& st = app.staging;
    st.compareMode = 1;
    st.present = {1, 0, 0};
    st.names = {StationSourceName(station), std::string(), std::string()};
}

std::string StationSourceName(int station) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "_%03d", station);
    return std::string(text::kStation) + buf;
}

}  // namespace kolt
