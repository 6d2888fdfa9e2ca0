// What the save-storage tests share: a flash memory and a disc of their own for each test
// (the disc holds the banner's images, each filled with a byte of its own), the dialog
// manager, text language NONE, and helpers for the save file and blocks.
#pragma once

#include "log_capture.h"
#include "temporary_host_directory.h"

#include <framework/kdialog.h>
#include <framework/kstoragemanager.h>
#include <framework/kstoragenand.h>
#include <framework/ktext.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/kplatform.h>

#include <console/fault.h>
#include <console/nand.h>
#include <console/sc.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace storage_test {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using test_support::LogCapture;

constexpr int kBlockSize = 5972;
constexpr size_t kRoundedSize = 5984;
constexpr unsigned char kBannerFill = 0xB0;
constexpr unsigned char kIconFill = 0xC0; // + the frame's index

inline void SetTextLanguage(const char* header) {
    std::string bytes = std::string(header) + "\n";
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned>(bytes.size()), K_IO_ACCESS_READ);
    kText::Load(&stream);
}

// A block whose bytes depend on the seed.
inline std::vector<unsigned char> Block(unsigned seed) {
    std::vector<unsigned char> block(kBlockSize);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<unsigned char>(seed * 31 + i * 7 + 1);
    }
    return block;
}

inline std::vector<unsigned char> ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The file as a save of the block: zero-padded to the rounded size.
inline std::vector<unsigned char> SaveFileOf(const std::vector<unsigned char>& block) {
    std::vector<unsigned char> file(block);
    file.resize(kRoundedSize, 0);
    return file;
}

// The states that show a message with no way on.
inline bool IsDeadEnd(kStorageManager::eStorageState state) {
    return state == kStorageManager::STATE_NO_MORE_BLOCKS ||
           state == kStorageManager::STATE_NO_MORE_FILES ||
           state == kStorageManager::STATE_FLASH_CORRUPTED ||
           state == kStorageManager::STATE_FLASH_UNUSABLE;
}

// The machine seen from outside, and the player and the dialog layer facing it.
class FlowTrace : public kHasSlots<> {
public:
    FlowTrace() {
        kStorageManager::DisplayDialogSignal.Connect(this, &FlowTrace::Show);
        kStorageManager::LoadCompleteSignal.Connect(this, &FlowTrace::Loaded);
        kStorageManager::SaveCompleteSignal.Connect(this, &FlowTrace::Saved);
    }

    void Show(kDialog* dialog) {
        std::ostringstream line;
        line << static_cast<int>(kStorageManager::GetStorageState()) << ":"
             << dialog->m_titleScriptId << "/" << dialog->m_bodyScriptId << "[";
        for (int i = 0; i < dialog->m_optionScriptIdList.Size(); ++i) {
            line << (i > 0 ? "," : "") << dialog->m_optionScriptIdList(i);
        }
        line << "]";
        Add(line.str());
        kDialogManager::Open(dialog);
    }
    void Loaded(bool bSuccess, bool bCorrupt, bool bNewSave) {
        ++m_completions;
        Add("load(" + std::to_string(bSuccess) + "," + std::to_string(bCorrupt) + "," +
            std::to_string(bNewSave) + ")");
    }
    void Saved(bool bSuccess) {
        ++m_completions;
        Add("save(" + std::to_string(bSuccess) + ")");
    }

    // Picks the choices in turn on dialogs with options; reports a dialog without options
    // on screen when the dialog layer does so. Stops when nothing is left to do.
    void Play(const std::vector<int>& choices, bool bOnScreen) {
        size_t next = 0;
        for (int turn = 0; turn < 32; ++turn) {
            kDialog* dialog = kStorageManager::GetStorageDialog();
            const kStorageManager::eStorageState state = kStorageManager::GetStorageState();
            if (!kDialogManager::IsOpen(dialog) || state == kStorageManager::STATE_IDLE) {
                return;
            }
            if (dialog->m_optionList.Size() > 0 && next < choices.size()) {
                dialog->m_currentOption = choices[next];
                Add("choose" + std::to_string(choices[next++]));
                kDialogManager::Close(dialog);
            } else if (dialog->m_optionList.Size() == 0 && bOnScreen && !IsDeadEnd(state)) {
                kDialogManager::DialogOnScreenSignal(dialog);
            } else {
                return;
            }
        }
    }

    void Add(const std::string& step) { m_trace += (m_trace.empty() ? "" : " ") + step; }

    std::string m_trace;
    int m_completions = 0;
};

class StorageTest : public testing::Test {
protected:
    void SetUp() override {
        kPlatform_Init();
        WriteBannerImages(NAND_BANNER_TEXTURE_SIZE, NAND_BANNER_ICON_SIZE);
        NANDResetForTest();
        FaultReset();
        SetTextLanguage("NONE");
        SCSetLanguageForTest(SC_LANG_ENGLISH);
        kDialogManager::Init(nullptr, nullptr, nullptr);
    }

    void TearDown() override {
        kStorageManager::Deinit();
        kDialogManager::Deinit();
        NANDResetForTest();
        FaultReset();
        SCSetLanguageForTest(SC_LANG_ENGLISH);
    }

    void WriteBannerImages(size_t bannerSize, size_t iconSize) {
        WriteFile(DiscFile("save/save_banner.tpl.bin"),
                  std::vector<unsigned char>(bannerSize, kBannerFill));
        for (int i = 1; i <= 8; ++i) {
            WriteFile(DiscFile("save/save_icon_0" + std::to_string(i) + ".tpl.bin"),
                      std::vector<unsigned char>(iconSize,
                                                 static_cast<unsigned char>(kIconFill + i - 1)));
        }
    }

    // The game's set-up: automatic flows over its 5,972-byte block.
    void InitGameStorage() {
        kStorageManager::Init(kBlockSize, "", "");
        kStorageManager::SetAutoSave(true);
    }

    fs::path DiscFile(const std::string& name) const { return m_disc.Root() / name; }
    fs::path Home() const { return m_nand.Root() / "title/puzzles/data"; }
    fs::path SaveFile() const { return Home() / "save.dat"; }
    fs::path BannerFile() const { return Home() / "banner.bin"; }
    fs::path WorkingCopies() const { return m_nand.Root() / "tmp"; }

    test_support::TemporaryDisc m_disc;
    test_support::TemporaryNand m_nand;
};

} // namespace storage_test
