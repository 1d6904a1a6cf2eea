#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <memory>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "cli/input_file.h"
#include "io/file_error.h"
#include "server/server.h"

extern char** environ;

namespace tavrin {

namespace {

struct ServeOptions {
  InputFile input;
  int port = 0;
  bool open = false;
};

// Hands the address to the desktop's browser through xdg-open, when there is one.
void OpenInBrowser(const std::string& address, std::ostream& messages) {
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  std::string program = "xdg-open";
  std::string argument = address;
  char* arguments[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  int failed = posix_spawnp(&child, "xdg-open", nullptr, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) {
    messages << "tavrin serve: no xdg-open here: open the address in a browser\n";
    return;
  }
  std::thread([child] { waitpid(child, nullptr, 0); }).detach();
}

int Serve(const ServeOptions& options, CommandContext& context) {
  // Ctrl-C and SIGTERM reach one waiting thread only, which stops the server; the server's own
  // threads, started later, inherit the mask.
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGINT);
  sigaddset(&stopping, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

  std::unique_ptr<Server> server;
  try {
    server = std::make_unique<Server>(options.input.path, options.input.encoding);
  } catch (const FileError& error) {
    context.messages << "tavrin serve: " << error.what() << '\n';
    return 2;
  }
  if (server->Bind(options.port) < 0) {
    context.messages << "tavrin serve: cannot listen on 127.0.0.1:" << options.port << '\n';
    return 2;
  }
  context.out << server->Address() << std::endl;
  context.messages << "Serving " << options.input.path
                   << " to this machine only. Nothing is written but what Save writes; Ctrl-C "
                      "stops.\n";
  if (options.open) OpenInBrowser(server->Address(), context.messages);

  std::thread waiter([&] {
    int signal = 0;
    sigwait(&stopping, &signal);
    server->Stop();
  });
  bool served = server->Listen();
  // The server may have ended by itself: the waiter is woken the same way.
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  if (!served) context.messages << "tavrin serve: cannot serve on " << server->Address() << '\n';
  return served ? 0 : 2;
}

}  // namespace

CommandDescription ServeCommand(CommandContext& context) {
  auto options = std::make_shared<ServeOptions>();
  CommandDescription serve{
      .name = "serve",
      .description = "Open the workbook in a browser: the grid, the menu and every tool's dialog",
      .options = InputFileOptions(options->input, "The workbook (.xlsx, .xls or .csv)"),
      .footer =
          "Example: tavrin serve sales.xlsx --open\nThe first line printed is the address "
          "to open; it carries the server's token. The server answers this machine only. "
          "The file is written by Save in the page only; Ctrl-C stops the server.",
      .run = [options, &context] { return Serve(*options, context); }};
  serve.options.push_back({.names = "--port",
                           .target = &options->port,
                           .help = "The port on 127.0.0.1 (default: a free one)",
                           .within = std::pair(0, 65535)});
  serve.options.push_back({.names = "--open",
                           .target = &options->open,
                           .help = "Open the address in the desktop's browser (xdg-open)"});
  return serve;
}

}  // namespace tavrin
