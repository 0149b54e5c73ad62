#pragma once
// Runs quintaline-cli as a child process for the tests: to completion with
// its stdout, stderr and exit status, or in the background (the simulator)
// with its first stdout line read under a deadline. Every wait is bounded;
// a child that outlives its deadline is killed.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace ql::test_support {

struct CliResult {
  int exitCode = -1;  // -1: killed or did not end in time
  std::string out;
  std::string err;
  bool timedOut = false;
};

class CliProcess {
 public:
  using Clock = std::chrono::steady_clock;

  explicit CliProcess(const std::vector<std::string>& args) : words_{QUINTALINE_CLI} {
    // Everything the child needs is made here: between fork and exec only
    // async-signal-safe calls may run, and allocating is not one.
    words_.insert(words_.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words_) argv.push_back(word.data());
    argv.push_back(nullptr);

    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) return;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
      ClosePair(outPipe);
      return;
    }
    pid_ = fork();
    if (pid_ == 0) {
      dup2(outPipe[1], STDOUT_FILENO);
      dup2(errPipe[1], STDERR_FILENO);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid_ < 0) {
      close(outPipe[0]);
      close(errPipe[0]);
      return;
    }
    out_ = outPipe[0];
    err_ = errPipe[0];
  }
  ~CliProcess() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
    if (err_ >= 0) close(err_);
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool Started() const { return pid_ > 0; }

  // Reads stdout until a whole line is there; returns it without its line
  // feed, or "" when the deadline passed first.
  std::string ReadLine(std::chrono::milliseconds deadline) {
    const auto end = Clock::now() + deadline;
    while (true) {
      if (const auto lf = out_text_.find('\n'); lf != std::string::npos) {
        std::string line = out_text_.substr(0, lf);
        out_text_.erase(0, lf + 1);
        return line;
      }
      if (Clock::now() >= end || !Pump(end)) return {};
    }
  }

  // Sends `signal` (unless 0) and waits for the end until the deadline.
  CliResult Finish(int signal, std::chrono::milliseconds deadline) {
    // Without a child there is nobody to signal or wait for: pid -1 would
    // reach every process of the user.
    if (!Started()) return CliResult{-1, {}, "quintaline-cli was not started", false};
    if (signal != 0) kill(pid_, signal);
    const auto end = Clock::now() + deadline;
    CliResult result;
    while (!ended_ && Clock::now() < end) {
      if (!Pump(std::min(end, Clock::now() + std::chrono::milliseconds(20)))) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // pipes shut; poll the exit
      }
      Reap();
    }
    if (!ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      ended_ = true;
      result.timedOut = true;
    }
    const auto drainEnd = Clock::now() + std::chrono::seconds(2);
    while (Pump(drainEnd) && Clock::now() < drainEnd) {
    }
    result.exitCode = result.timedOut ? -1 : status_;
    result.out = out_text_;
    result.err = err_text_;
    return result;
  }

 private:
  static void ClosePair(const int (&pipe)[2]) {
    close(pipe[0]);
    close(pipe[1]);
  }

  // Reads what the pipes hold, waiting at most until `end`. Returns false
  // once both are at their end.
  bool Pump(Clock::time_point end) {
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (out_ < 0 && err_ < 0) return false;
    if (poll(fds, 2, static_cast<int>(std::max<long long>(0, left))) <= 0) return true;
    bool open = false;
    open |= Drain(fds[0], out_, out_text_);
    open |= Drain(fds[1], err_, err_text_);
    return open;
  }
  static bool Drain(const pollfd& fd, int& handle, std::string& text) {
    if (handle < 0) return false;
    if ((fd.revents & (POLLIN | POLLHUP | POLLERR)) == 0) return true;
    char buffer[4096];
    const ssize_t n = read(handle, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
      return true;
    }
    close(handle);
    handle = -1;
    return false;
  }
  void Reap() {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      ended_ = true;
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
  }

  std::vector<std::string> words_;  // the program and its arguments
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  bool ended_ = false;
  int status_ = -1;
  std::string out_text_;
  std::string err_text_;
};

// Runs quintaline-cli with `args` to its end (at most `deadline`).
inline CliResult RunCli(const std::vector<std::string>& args,
                        std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
  CliProcess process(args);
  return process.Finish(0, deadline);
}

}  // namespace ql::test_support
