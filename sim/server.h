// The emulated keyboard's server (`qx480-sim serve`): one process owns the keyboard of a state
// file, with its memory, trace and misbehaviour, and every program that uses that state file
// attaches to it over a Unix socket. So the driver and the command-line tool meet one keyboard,
// as they would a real one: they share its memory, both see every report it sends and both see
// it leave and come back.
//
// One server per socket: the server holds an exclusive lock on "<socket>.lock" for its life. It
// ends `linger` after its last attached program left (never with a negative linger), or on the
// control command "stop".
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "sim/keyboard.h"

namespace qx::sim {

struct ServerOptions {
    std::filesystem::path socketPath;
    Millis linger{-1};
};

class Server {
  public:
    enum class ListenResult { kListening, kAlreadyRunning, kFailed };

    Server(std::shared_ptr<Keyboard> keyboard, ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Takes the socket's lock and listens. kAlreadyRunning: another server owns the socket.
    ListenResult Listen(std::string& error);
    // Serves until the linger time after the last program left, or "stop", or RequestStop.
    void Run();
    // May be called from any thread (or a signal handler).
    void RequestStop();
    // Passes a message to the standard error of every attached program (the server itself
    // usually has none). Any thread.
    void Log(const std::string& text);

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qx::sim
