// The Windows back ends on the real registry and the real Windows Sockets: the association
// keys as the shell reads them, the system information look-up, and this machine's address.
//
// It writes file associations into HKEY_CLASSES_ROOT and values into HKEY_LOCAL_MACHINE, so it
// runs only in a throwaway registry (run-under-wine.sh gives it one) and says so otherwise.

#include "TableTest.h"
#include "services/win/Associations.h"
#include "services/win/HostAddress.h"
#include "services/win/SysInfoLookup.h"
#include "services/win/SystemWinsock.h"
#include "services/win/WinRegistry.h"
#include "services/win/WinsockLayer.h"

#include <winsock2.h>

#include <iphlpapi.h>
#include <sddl.h>
#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

using tabletest::Case;
using Address = SocketLayer::Address;

namespace {

const wchar_t ClassName[] = L"QuorBrowser.exe";
const wchar_t CommandKey[] = L"QuorBrowser.exe\\shell\\open\\command";
const wchar_t IconKey[] = L"QuorBrowser.exe\\DefaultIcon";
const wchar_t ProgramPath[] = L"C:\\QuorBrowser\\QuorBrowser.exe";
const wchar_t ProgramCommand[] = L"\"C:\\QuorBrowser\\QuorBrowser.exe\" %1";
// The four kinds in the wizard's order, as it hands them to CreateAssociation.
const wchar_t *const WizardExtensions[] = {L"jpg", L"gif", L"html", L"htm"};
// A key of the test's own for the look-up rows.
const char ScratchKey[] = "SOFTWARE\\QuorBrowser Test\\Tool";

// The registry, counting the keys opened and closed and recording the access asked for.
class CountingRegistry : public Registry
{
public:
    long CreateKey(RegistryRoot root, const std::wstring &subKey, RegistryKey *key) override
    {
        return Opened(m_real.CreateKey(root, subKey, key));
    }
    long SetValue(RegistryKey key, const std::wstring &subKey, const std::wstring &data) override
    {
        return m_real.SetValue(key, subKey, data);
    }
    long DeleteKey(RegistryRoot root, const std::wstring &subKey) override
    {
        return m_real.DeleteKey(root, subKey);
    }
    long OpenKey(RegistryRoot root, const std::string &subKey, std::uint32_t access,
                 RegistryKey *key) override
    {
        accesses.push_back(access);
        return Opened(m_real.OpenKey(root, subKey, access, key));
    }
    long QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t *type,
                    std::string *data) override
    {
        return m_real.QueryValue(key, valueName, type, data);
    }
    long CloseKey(RegistryKey key) override
    {
        const long result = m_real.CloseKey(key);
        if (result == ERROR_SUCCESS)
            ++closed;
        return result;
    }

    int opened = 0;
    int closed = 0;
    std::vector<std::uint32_t> accesses;

private:
    long Opened(long result)
    {
        if (result == ERROR_SUCCESS)
            ++opened;
        return result;
    }
    win::WinRegistry m_real;
};

// Straight through the registry API, apart from the code under test.

bool KeyExists(HKEY root, const std::wstring &key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// The key's default value, with its type; nothing when the key or the value is missing.
std::optional<std::wstring> ReadDefault(HKEY root, const std::wstring &key, DWORD *type = nullptr)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD valueType = 0;
    DWORD size = 0;
    std::optional<std::wstring> value;
    if (RegQueryValueExW(handle, nullptr, nullptr, &valueType, nullptr, &size) == ERROR_SUCCESS) {
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        size = DWORD(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(handle, nullptr, nullptr, &valueType,
                             reinterpret_cast<BYTE *>(&text[0]), &size)
            == ERROR_SUCCESS) {
            text.resize(size / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0')
                text.pop_back();
            value = text;
        }
    }
    RegCloseKey(handle);
    if (type)
        *type = valueType;
    return value;
}

// The key and every key below it, one a line with its default value after " = ", in the
// registry's order of enumeration.
void DumpInto(HKEY root, const std::wstring &key, std::vector<std::wstring> &lines)
{
    if (!KeyExists(root, key))
        return;
    const std::optional<std::wstring> value = ReadDefault(root, key);
    lines.push_back(value ? key + L" = " + *value : key);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(handle);
    for (const std::wstring &child : children)
        DumpInto(root, key + L"\\" + child, lines);
}

std::vector<std::wstring> Dump(HKEY root, const std::vector<std::wstring> &keys)
{
    std::vector<std::wstring> lines;
    for (const std::wstring &key : keys)
        DumpInto(root, key, lines);
    return lines;
}

void DeleteTree(HKEY root, const std::wstring &key)
{
    RegDeleteTreeW(root, key.c_str());
}

// No association of any of the four kinds, and no class key.
void ForgetAssociations()
{
    for (const wchar_t *key : {L".jpg", L".gif", L".html", L".htm", ClassName})
        DeleteTree(HKEY_CLASSES_ROOT, key);
}

bool PutValue(HKEY root, const std::string &key, const std::string &name, DWORD type,
              const std::string &bytes)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    const LONG result
        = RegSetValueExA(handle, name.c_str(), 0, type,
                         reinterpret_cast<const BYTE *>(bytes.data()), DWORD(bytes.size()));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

// Lets everybody read the key and delete it, and nothing else.
bool MakeReadOnly(HKEY root, const std::string &key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, WRITE_DAC, &handle) != ERROR_SUCCESS)
        return false;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = ConvertStringSecurityDescriptorToSecurityDescriptorA(
                    "D:P(A;;KRSD;;;WD)", SDDL_REVISION_1, &descriptor, nullptr)
        && RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    RegCloseKey(handle);
    return done;
}

// What the shell runs to open a file of the kind.
std::wstring ShellCommand(const std::wstring &extension)
{
    wchar_t command[1024] = {};
    DWORD length = 1024;
    if (AssocQueryStringW(0, ASSOCSTR_COMMAND, extension.c_str(), L"open", command, &length)
        != S_OK)
        return std::wstring();
    return command;
}

// The wizard's Associate Files with all four boxes ticked.
std::vector<bool> AssociateAll(Registry &registry, const std::wstring &path)
{
    std::vector<bool> results;
    for (const wchar_t *extension : WizardExtensions)
        results.push_back(win::CreateAssociation(registry, path, extension));
    win::NotifyAssociationChange();
    return results;
}

std::string TempFolder(const std::string &name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when Windows Sockets is no longer started; else it is ended here, for the next case.
bool SocketsStopped()
{
    if (WSACleanup() == SOCKET_ERROR)
        return true;
    while (WSACleanup() == 0) { }
    return false;
}

// The addresses of this machine's interfaces, as the IP helper lists them.
std::vector<std::string> InterfaceAddresses()
{
    std::vector<std::string> addresses;
    ULONG size = 0;
    GetIpAddrTable(nullptr, &size, FALSE);
    std::vector<unsigned char> buffer(size ? size : sizeof(MIB_IPADDRTABLE));
    auto *table = reinterpret_cast<MIB_IPADDRTABLE *>(buffer.data());
    if (GetIpAddrTable(table, &size, FALSE) != NO_ERROR)
        return addresses;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&table->table[i].dwAddr);
        addresses.push_back(win::FormatAddress(Address(bytes, bytes + 4)));
    }
    return addresses;
}

// Four decimal numbers of 0 to 255 joined by dots, nothing else.
bool IsDottedQuad(const std::string &text)
{
    int numbers = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t dot = std::min(text.find('.', at), text.size());
        const std::string number = text.substr(at, dot - at);
        if (number.empty() || number.size() > 3
            || number.find_first_not_of("0123456789") != std::string::npos
            || std::stoi(number) > 255)
            return false;
        ++numbers;
        at = dot + 1;
    }
    return numbers == 4;
}

// The real Windows Sockets with one call made to fail, or to answer otherwise, on demand.
class InjectedSockets : public win::WinsockCalls
{
public:
    int Startup(std::uint16_t versionRequested, SocketsData &data) override
    {
        calls.push_back("Startup");
        if (startupResult != 0)
            return startupResult;
        const int result = m_real.Startup(versionRequested, data);
        if (version >= 0)
            data.wVersion = std::uint16_t(version);
        if (maxSockets >= 0)
            data.iMaxSockets = maxSockets;
        return result;
    }
    int Cleanup() override
    {
        calls.push_back("Cleanup");
        const int result = m_real.Cleanup();
        return cleanupFails ? SOCKET_ERROR : result;
    }
    int LastError() override { return m_real.LastError(); }
    int HostName(char *buffer, int length) override
    {
        calls.push_back("HostName");
        if (hostNameError == 0)
            return m_real.HostName(buffer, length);
        WSASetLastError(hostNameError);
        return SOCKET_ERROR;
    }
    std::vector<Address> ResolveHost(const std::string &name) override
    {
        calls.push_back("ResolveHost");
        if (resolveFails)
            return {};
        return resolved.empty() ? m_real.ResolveHost(name) : resolved;
    }
    std::vector<Address> InterfaceAddresses() override
    {
        calls.push_back("InterfaceAddresses");
        return m_real.InterfaceAddresses();
    }

    int startupResult = 0; // not 0: Startup answers this and starts nothing
    int version = -1; // 0 or more: the version offered instead of the real one
    int maxSockets = -1; // 0 or more: the socket count offered instead of the real one
    int hostNameError = 0; // not 0: HostName fails with this as the layer's last error
    bool resolveFails = false;
    std::vector<Address> resolved; // not empty: what the name resolves to instead
    bool cleanupFails = false; // Cleanup ends the layer, then reports a failure

    std::vector<std::string> calls;

private:
    win::SystemWinsock m_real;
};

// Registry: the association keys.

struct LayoutRow
{
    std::string name;
    std::wstring path;
    std::wstring extension;
    std::wstring key;
    std::wstring command;
};

void KeyLayout(Case &c, const LayoutRow &row)
{
    ForgetAssociations();
    CountingRegistry registry;
    CHECK(c, win::CreateAssociation(registry, row.path, row.extension));
    win::NotifyAssociationChange();

    DWORD type = 0;
    CHECK_EQ(c, ReadDefault(HKEY_CLASSES_ROOT, row.key, &type).value_or(L"(none)"),
             std::wstring(ClassName));
    CHECK_EQ(c, type, DWORD(REG_SZ));
    CHECK_EQ(c, ReadDefault(HKEY_CLASSES_ROOT, CommandKey, &type).value_or(L"(none)"), row.command);
    CHECK_EQ(c, type, DWORD(REG_SZ));
    CHECK_EQ(c, ReadDefault(HKEY_CLASSES_ROOT, IconKey, &type).value_or(L"(none)"), row.path);
    CHECK_EQ(c, type, DWORD(REG_SZ));
    // And as the shell finds it: from the extension to the class to its open command.
    CHECK_EQ(c, ShellCommand(row.key), row.command);
    CHECK_EQ(c, registry.opened, registry.closed);
}

const std::vector<LayoutRow> LayoutRows = {
    {"jpg", ProgramPath, L"jpg", L".jpg", ProgramCommand},
    {"gif", ProgramPath, L"gif", L".gif", ProgramCommand},
    {"html", ProgramPath, L"html", L".html", ProgramCommand},
    {"htm", ProgramPath, L"htm", L".htm", ProgramCommand},
    {"folder with blanks", L"C:\\Program Files\\Quor Browser\\QuorBrowser.exe", L"jpg", L".jpg",
     L"\"C:\\Program Files\\Quor Browser\\QuorBrowser.exe\" %1"},
    {"folder outside the code page", L"C:\\Users\\Zo\u00EB\\\u30AF\u30AA\u30EB\\QuorBrowser.exe",
     L"htm", L".htm", L"\"C:\\Users\\Zo\u00EB\\\u30AF\u30AA\u30EB\\QuorBrowser.exe\" %1"},
    {"extension given with its dot", ProgramPath, L".gif", L".gif", ProgramCommand},
};

void AssociateTwice(Case &c)
{
    ForgetAssociations();
    CountingRegistry registry;
    const std::vector<std::wstring> keys = {L".jpg", L".gif", L".html", L".htm", ClassName};
    CHECK_EQ(c, AssociateAll(registry, ProgramPath), std::vector<bool>(4, true));
    const std::vector<std::wstring> once = Dump(HKEY_CLASSES_ROOT, keys);
    CHECK_EQ(c, AssociateAll(registry, ProgramPath), std::vector<bool>(4, true));
    CHECK_EQ(c, Dump(HKEY_CLASSES_ROOT, keys), once);
    CHECK_EQ(c, once,
             (std::vector<std::wstring> {
                 L".jpg = QuorBrowser.exe", L".gif = QuorBrowser.exe", L".html = QuorBrowser.exe",
                 L".htm = QuorBrowser.exe", L"QuorBrowser.exe",
                 L"QuorBrowser.exe\\DefaultIcon = C:\\QuorBrowser\\QuorBrowser.exe",
                 L"QuorBrowser.exe\\shell", L"QuorBrowser.exe\\shell\\open",
                 L"QuorBrowser.exe\\shell\\open\\command = \"C:\\QuorBrowser\\QuorBrowser.exe\" "
                 L"%1"}));
    CHECK_EQ(c, registry.opened, registry.closed);
}

struct RemoveRow
{
    std::string name;
    std::vector<std::wstring> associated;
    std::wstring extraKey; // a subkey of the extension's key, made beforehand
    std::wstring extension;
    bool expected;
    std::vector<std::wstring> gone;
    std::vector<std::wstring> kept;
};

void RemoveAssociation(Case &c, const RemoveRow &row)
{
    ForgetAssociations();
    CountingRegistry registry;
    for (const std::wstring &extension : row.associated)
        CHECK(c, win::CreateAssociation(registry, ProgramPath, extension));
    if (!row.extraKey.empty()) {
        HKEY handle = nullptr;
        CHECK_EQ(c, RegCreateKeyW(HKEY_CLASSES_ROOT, row.extraKey.c_str(), &handle),
                 LONG(ERROR_SUCCESS));
        RegCloseKey(handle);
    }

    CHECK_EQ(c, win::RemoveAssociation(registry, row.extension), row.expected);
    for (const std::wstring &key : row.gone)
        CHECK(c, !KeyExists(HKEY_CLASSES_ROOT, key));
    for (const std::wstring &key : row.kept)
        CHECK(c, KeyExists(HKEY_CLASSES_ROOT, key));
}

const std::vector<RemoveRow> RemoveRows = {
    {"associated before",
     {L"jpg", L"gif"},
     L"",
     L".jpg",
     true,
     {L".jpg"},
     {L".gif", ClassName, CommandKey, IconKey}},
    {"extension key with subkeys",
     {L"jpg"},
     L".jpg\\OpenWithProgids",
     L".jpg",
     true,
     {L".jpg\\OpenWithProgids", L".jpg"},
     {ClassName, CommandKey}},
    {"in other capitals", {L"jpg"}, L"", L".JPG", true, {L".jpg"}, {ClassName}},
    {"never associated", {L"gif"}, L"", L".htm", true, {L".htm"}, {L".gif", ClassName}},
    {"no extension: nothing deleted", {L"jpg"}, L"", L"", false, {}, {L".jpg", ClassName}},
};

// Registry: the system information look-up.

struct KeyValueRow
{
    std::string name;
    bool keyThere;
    bool readOnly; // the key may be read, but not opened with the rights the look-up asks for
    DWORD type;
    std::string stored;
    std::string readName;
    bool expected;
    std::string value;
};

void GetKeyValue(Case &c, const KeyValueRow &row)
{
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\QuorBrowser Test");
    if (row.keyThere)
        CHECK(c, PutValue(HKEY_LOCAL_MACHINE, ScratchKey, "PATH", row.type, row.stored));
    if (row.readOnly)
        CHECK(c, MakeReadOnly(HKEY_LOCAL_MACHINE, ScratchKey));
    CountingRegistry registry;
    std::string read = "left over";
    CHECK_EQ(c,
             win::GetKeyValue(registry, RegistryRoot::LocalMachine, ScratchKey, row.readName, read),
             row.expected);
    CHECK_EQ(c, read, row.value);
    CHECK_EQ(c, registry.accesses, std::vector<std::uint32_t> {0x20019});
    CHECK_EQ(c, registry.opened, registry.closed);
}

const std::vector<KeyValueRow> KeyValueRows = {
    {"text", true, false, REG_SZ, std::string("C:\\Tools\\msinfo32.exe\0", 22), "PATH", true,
     "C:\\Tools\\msinfo32.exe"},
    {"cut at the first NUL", true, false, REG_SZ, std::string("C:\\a.exe\0junk\0", 14), "PATH",
     true, "C:\\a.exe"},
    {"1023 characters fit", true, false, REG_SZ, std::string(1023, 'x') + '\0', "PATH", true,
     std::string(1023, 'x')},
    {"1024 characters do not", true, false, REG_SZ, std::string(1024, 'x') + '\0', "PATH", false,
     ""},
    {"expandable text is not a text", true, false, REG_EXPAND_SZ,
     std::string("%SystemRoot%\\x.exe\0", 19), "PATH", true, ""},
    {"a number", true, false, REG_DWORD, std::string("\x07\0\0\0", 4), "PATH", true, ""},
    {"no such value", true, false, REG_SZ, std::string("x\0", 2), "Other", false, ""},
    {"no such key", false, false, REG_SZ, "", "PATH", false, ""},
    {"key only readable", true, true, REG_SZ, std::string("C:\\Tools\\msinfo32.exe\0", 22), "PATH",
     true, "C:\\Tools\\msinfo32.exe"},
};

struct ToolRow
{
    std::string name;
    std::string pathValue; // empty: none registered
    DWORD pathType;
    bool locationValue;
    bool fileThere;
    std::string expected; // "FOLDER" stands for the registered folder
};

void FindSysInfoTool(Case &c, const ToolRow &row)
{
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location");
    const std::string folder = TempFolder("Quor Shared Tools");
    const std::string file = folder + "\\MSINFO32.EXE";
    DeleteFileA(file.c_str());
    if (!row.pathValue.empty())
        CHECK(c,
              PutValue(HKEY_LOCAL_MACHINE, win::MsInfoKey, "PATH", row.pathType,
                       row.pathValue + '\0'));
    if (row.locationValue)
        CHECK(c,
              PutValue(HKEY_LOCAL_MACHINE, win::SharedToolsLocationKey, "MSINFO", REG_SZ,
                       folder + '\0'));
    if (row.fileThere) {
        const HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        CHECK(c, handle != INVALID_HANDLE_VALUE);
        CloseHandle(handle);
    }

    CountingRegistry registry;
    std::string expected = row.expected;
    if (expected.rfind("FOLDER", 0) == 0)
        expected.replace(0, 6, folder);
    CHECK_EQ(c, win::FindSysInfoTool(registry, FileExists), expected);
    CHECK_EQ(c, registry.opened, registry.closed);
    DeleteFileA(file.c_str());
}

const std::vector<ToolRow> ToolRows = {
    {"full path registered", "C:\\Tools\\MSINFO32.EXE", REG_SZ, true, true,
     "C:\\Tools\\MSINFO32.EXE"},
    {"only the folder, file there", "", REG_SZ, true, true, "FOLDER\\MSINFO32.EXE"},
    {"only the folder, file missing", "", REG_SZ, true, false, ""},
    {"full path too long: the folder instead", std::string(1024, 'p'), REG_SZ, true, true,
     "FOLDER\\MSINFO32.EXE"},
    {"full path not a text: nothing else is tried", "C:\\Tools\\MSINFO32.EXE", REG_EXPAND_SZ, true,
     true, ""},
    {"nothing registered", "", REG_SZ, false, false, ""},
};

// Windows Sockets.

struct ByteRow
{
    std::string name;
    int value;
    int low;
    int high;
};

const std::vector<ByteRow> ByteRows = {
    {"1.1", 0x0101, 1, 1},         {"2.0", 0x0002, 2, 0},          {"1.2", 0x0201, 1, 2},
    {"mixed", 0x1234, 0x34, 0x12}, {"all ones", 0xFFFF, 255, 255},
};

void RealLookup(Case &c)
{
    win::SystemWinsock calls;
    win::WinsockLayer sockets(calls);
    std::vector<std::string> messages;
    const std::string address
        = win::GetLocalAddress(sockets, [&](const std::string &text) { messages.push_back(text); });
    CHECK_EQ(c, messages, std::vector<std::string>());
    CHECK(c, IsDottedQuad(address));
    const std::vector<std::string> interfaces = InterfaceAddresses();
    bool listed = false;
    bool outward = false;
    for (const std::string &a : interfaces) {
        listed = listed || a == address;
        outward = outward || a.rfind("127.", 0) != 0;
    }
    if (address.rfind("127.", 0) == 0)
        CHECK(c, !outward);
    else
        CHECK(c, listed);
    CHECK(c, SocketsStopped());
}

struct FailureRow
{
    std::string name;
    int startupResult;
    int version;
    int maxSockets;
    int hostNameError;
    bool resolveFails;
    std::string message;
    std::vector<std::string> calls;
};

void Failure(Case &c, const FailureRow &row)
{
    InjectedSockets sockets;
    win::WinsockLayer layer(sockets);
    sockets.startupResult = row.startupResult;
    sockets.version = row.version;
    sockets.maxSockets = row.maxSockets;
    sockets.hostNameError = row.hostNameError;
    sockets.resolveFails = row.resolveFails;
    std::vector<std::string> messages;
    const std::string address
        = win::GetLocalAddress(layer, [&](const std::string &text) { messages.push_back(text); });
    CHECK_EQ(c, address, std::string());
    CHECK_EQ(c, messages, std::vector<std::string> {row.message});
    CHECK_EQ(c, sockets.calls, row.calls);
    CHECK(c, SocketsStopped());
}

const std::vector<FailureRow> FailureRows = {
    {"layer does not start",
     WSASYSNOTREADY,
     -1,
     -1,
     0,
     false,
     "The 32-bit Windows Socket is not responding.",
     {"Startup"}},
    {"no sockets offered",
     0,
     -1,
     0,
     0,
     false,
     "This application requires a minimum of 1 supported sockets.",
     {"Startup", "Cleanup"}},
    {"version 1.0",
     0,
     0x0001,
     -1,
     0,
     false,
     "Sockets version 1.0 is not supported by 32-bit Windows Sockets.",
     {"Startup", "Cleanup"}},
    {"version 0.2",
     0,
     0x0200,
     -1,
     0,
     false,
     "Sockets version 0.2 is not supported by 32-bit Windows Sockets.",
     {"Startup", "Cleanup"}},
    {"no host name",
     0,
     -1,
     -1,
     WSAENETDOWN,
     false,
     "Windows Sockets error 10050 has occurred. Unable to successfully get Host Name.",
     {"Startup", "HostName", "Cleanup"}},
    {"name does not resolve",
     0,
     -1,
     -1,
     0,
     true,
     "Windows Sockets are not responding. Unable to successfully get Host Name.",
     {"Startup", "HostName", "ResolveHost", "Cleanup"}},
};

void CleanupFailure(Case &c)
{
    InjectedSockets sockets;
    win::WinsockLayer layer(sockets);
    sockets.cleanupFails = true;
    std::vector<std::string> messages;
    const std::string address
        = win::GetLocalAddress(layer, [&](const std::string &text) { messages.push_back(text); });
    CHECK(c, IsDottedQuad(address));
    CHECK_EQ(c, messages, std::vector<std::string> {"Socket error occurred in Cleanup."});
    CHECK(c, SocketsStopped());
}

struct FormatRow
{
    std::string name;
    std::vector<Address> resolved;
    std::string expected;
};

void Format(Case &c, const FormatRow &row)
{
    InjectedSockets sockets;
    win::WinsockLayer layer(sockets);
    sockets.resolved = row.resolved;
    std::vector<std::string> messages;
    CHECK_EQ(
        c, win::GetLocalAddress(layer, [&](const std::string &text) { messages.push_back(text); }),
        row.expected);
    CHECK_EQ(c, messages, std::vector<std::string>());
    CHECK(c, SocketsStopped());
}

const std::vector<FormatRow> FormatRows = {
    {"four bytes above 127", {{255, 254, 128, 200}}, "255.254.128.200"},
    {"first of several", {{192, 168, 0, 5}, {10, 0, 0, 1}}, "192.168.0.5"},
    {"record of 16 bytes",
     {{32, 1, 13, 184, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 1}},
     "32.1.13.184.0.0.0.0.0.0.0.0.0.0.255.1"},
    {"record of 2 bytes", {{7, 8}}, "7.8"},
    {"record of 1 byte", {{9}}, "9"},
};

} // namespace

int main()
{
    const char *scratch = std::getenv("QUORBROWSER_SCRATCH_REGISTRY");
    if (!scratch || std::string(scratch) != "1") {
        std::printf("This test writes file associations into HKEY_CLASSES_ROOT and values into "
                    "HKEY_LOCAL_MACHINE.\nRun it only in a throwaway registry, with "
                    "QUORBROWSER_SCRATCH_REGISTRY=1, as tests/windows/run-under-wine.sh does.\n");
        return 77;
    }

    tabletest::Runner run;
    run.Table<LayoutRow>("keyLayout", LayoutRows, KeyLayout);
    run.Run("associateTwice", AssociateTwice);
    run.Table<RemoveRow>("removeAssociation", RemoveRows, RemoveAssociation);
    run.Table<KeyValueRow>("getKeyValue", KeyValueRows, GetKeyValue);
    run.Table<ToolRow>("findSysInfoTool", ToolRows, FindSysInfoTool);
    ForgetAssociations();
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\QuorBrowser Test");

    run.Table<ByteRow>("bytesOfVersion", ByteRows, [](Case &c, const ByteRow &row) {
        CHECK_EQ(c, win::LowByteOf(std::uint16_t(row.value)), row.low);
        CHECK_EQ(c, win::HighByteOf(std::uint16_t(row.value)), row.high);
    });
    run.Run("realLookup", RealLookup);
    run.Table<FailureRow>("lookupFailure", FailureRows, Failure);
    run.Run("cleanupFailureStillGivesTheAddress", CleanupFailure);
    run.Table<FormatRow>("addressFormat", FormatRows, Format);
    return run.Finish();
}
