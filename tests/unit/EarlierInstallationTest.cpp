#include "probes/software/EarlierInstallation.h"

#include <gtest/gtest.h>

#include <string>

#include "FakeRegistry.h"

namespace {

using Root = platform::RegistryRoot;
using namespace std::string_literals;

TEST(EarlierInstallationTest, AnyReadableRootPathOfTheMachineKeyIsATrace) {
    const struct {
        const char* what;
        Root root;
        const char* name;  // null: only the key
        std::string data;
        std::string path;
    } cases[] = {
        {"no machine key", Root::CurrentUser, nullptr, "", ""},
        {"key without values", Root::LocalMachine, nullptr, "", ""},
        {"empty root", Root::LocalMachine, "Root", "\0"s, ""},
        {"other value", Root::LocalMachine, "Path", "C:\\Tarnvik\0"s, ""},
        {"user key", Root::CurrentUser, "Root", "C:\\Tarnvik\0"s, ""},
        {"any path", Root::LocalMachine, "Root", "C:\\Program Files\\Nowhere\0"s,
         "C:\\Program Files\\Nowhere"},
        // Whatever the value's type: the data up to its first zero byte is the path.
        {"binary", Root::LocalMachine, "ROOT", "D:\\T\0junk"s, "D:\\T"},
        // 8000 bytes are read; a value too large cannot be read and is no trace.
        {"largest", Root::LocalMachine, "Root", std::string(7999, 'x') + '\0',
         std::string(7999, 'x')},
        {"too large", Root::LocalMachine, "Root", std::string(8000, 'x') + '\0', ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeRegistry registry;
        if (c.name == nullptr) {
            registry.AddKey(c.root, "SOFTWARE\\Devadozededa");
        } else {
            registry.SetData(c.root, "SOFTWARE\\Devadozededa", c.name, c.data);
        }
        EXPECT_EQ(ReadClientRootPath(registry), c.path);
        std::string text = "sentinel";  // replaced, whatever it held
        EXPECT_EQ(CheckEarlierInstallation(registry, text), c.path.empty());
        EXPECT_EQ(text, c.path.empty() ? "Tarnvik nie je nainštalovaný."
                                       : "Tarnvik už je alebo bol niekedy nainštalovaný.");
    }
}

}  // namespace
