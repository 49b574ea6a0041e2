// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/SwayLayoutPlatform.h"

#include "base/Json.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char Magic[] = "i3-ipc";
constexpr std::size_t MagicSize = sizeof Magic - 1;
constexpr std::uint32_t RunCommand = 0;
constexpr std::uint32_t GetInputs = 100;
// sway answers in milliseconds; one that does not must not freeze the window.
constexpr int TimeoutMs = 1000;
// Far beyond any answer about the inputs of one seat.
constexpr std::uint32_t MaxAnswer = 4 << 20;

class TSocket
{
public:
    explicit TSocket(int fd) : fd_(fd) {}
    ~TSocket()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Fd() const { return fd_; }

    bool SendAll(const std::string& bytes) const
    {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }
    bool ReceiveAll(char* into, std::size_t size) const
    {
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = recv(fd_, into + got, size - got, 0);
            if (n <= 0)
                return false;
            got += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
};

std::string Header(std::uint32_t length, std::uint32_t type)
{
    std::string header(Magic, MagicSize);
    header.append(reinterpret_cast<const char*>(&length), sizeof length);
    header.append(reinterpret_cast<const char*>(&type), sizeof type);
    return header;
}

} // namespace

std::optional<std::string> TSwayLayoutPlatform::Ask(std::uint32_t type,
                                                    const std::string& payload) const
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socket_.empty() || socket_.size() >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, socket_.c_str(), socket_.size() + 1);
    const TSocket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.Fd() < 0)
        return std::nullopt;
    const timeval timeout{TimeoutMs / 1000, (TimeoutMs % 1000) * 1000};
    setsockopt(socket.Fd(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(socket.Fd(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        !socket.SendAll(Header(static_cast<std::uint32_t>(payload.size()), type) + payload))
        return std::nullopt;
    char header[MagicSize + 8];
    if (!socket.ReceiveAll(header, sizeof header) || std::memcmp(header, Magic, MagicSize) != 0)
        return std::nullopt;
    std::uint32_t length = 0;
    std::memcpy(&length, header + MagicSize, sizeof length);
    if (length > MaxAnswer)
        return std::nullopt;
    std::string answer(length, '\0');
    if (!socket.ReceiveAll(answer.data(), length))
        return std::nullopt;
    return answer;
}

std::optional<std::pair<std::vector<std::string>, int>>
TSwayLayoutPlatform::KeyboardLayouts(const TJson& inputs)
{
    for (const TJson& input : inputs.Items()) {
        if (input["type"].Text() != "keyboard")
            continue;
        std::vector<std::string> names;
        for (const TJson& name : input["xkb_layout_names"].Items())
            names.push_back(name.Text());
        if (!names.empty())
            return std::pair{names, static_cast<int>(input["xkb_active_layout_index"].Number(0))};
    }
    return std::nullopt;
}

std::string TSwayLayoutPlatform::Commands(const TLayoutList& list, bool layoutsChanged)
{
    // The lists are quoted: sway takes a bare comma for the end of a command.
    std::string commands;
    if (layoutsChanged)
        commands = "input type:keyboard xkb_layout \"" + LayoutNamesList(list.Layouts) +
                   "\"; input type:keyboard xkb_variant \"" + VariantNamesList(list.Layouts) +
                   "\"; ";
    return commands + "input type:keyboard xkb_switch_layout " + std::to_string(list.Active);
}

std::optional<TLayoutList> TSwayLayoutPlatform::ReadList()
{
    const auto answer = Ask(GetInputs, {});
    const auto inputs = answer ? TJson::Parse(*answer) : std::nullopt;
    const auto layouts = inputs ? KeyboardLayouts(*inputs) : std::nullopt;
    if (!layouts)
        return std::nullopt;
    TLayoutList list{{}, layouts->second};
    for (const auto& description : layouts->first) {
        const auto name = NameOfDescription(description);
        if (!name)
            return std::nullopt; // a keymap of the user's own making: not ours to touch
        list.Layouts.push_back(*name);
    }
    return list;
}

bool TSwayLayoutPlatform::WriteList(const TLayoutList& list, bool layoutsChanged)
{
    for (const auto& name : list.Layouts)
        if (!IsPlainXkbName(name.Layout) || !IsPlainXkbName(name.Variant))
            return false;
    const auto answer = Ask(RunCommand, Commands(list, layoutsChanged));
    const auto results = answer ? TJson::Parse(*answer) : std::nullopt;
    if (!results || results->Items().empty())
        return false;
    for (const TJson& result : results->Items())
        if (!result["success"].Flag(false))
            return false;
    return true;
}
