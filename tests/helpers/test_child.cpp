// Acts out one scenario per run for the command runner tests:
//   bytes N            write N bytes ('a'..'z' repeating), then exit 0
//   silent             exit 0 at once without output
//   exit N             print a line, exit with status N
//   crash              abort
//   utf8               print Chinese text byte by byte with pauses
//   spawn-sleeper FILE start a grandchild that sleeps, write its pid to FILE, then sleep
//   flood SECONDS      write as fast as possible for that long
//   args               print every argument on its own line
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

void writeBytes(long count)
{
    std::string text;
    for (long i = 0; i < count; ++i)
        text += static_cast<char>('a' + i % 26);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeUtf8Slowly()
{
    const char *text = "转换中 完成";
    for (const char *p = text; *p; ++p) {
        std::fputc(*p, stdout);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int spawnSleeper(const char *pidFile)
{
    const pid_t child = fork();
    if (child == 0) {
        execlp("sleep", "sleep", "60", static_cast<char *>(nullptr));
        _exit(127);
    }
    if (FILE *file = std::fopen(pidFile, "w")) {
        std::fprintf(file, "%d\n", static_cast<int>(child));
        std::fclose(file);
    }
    std::puts("started");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
}

void flood(int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    const std::string line(200, 'x');
    while (std::chrono::steady_clock::now() < end)
        std::puts(line.c_str());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const std::string scenario = argv[1];
    const char *value = argc > 2 ? argv[2] : "0";
    if (scenario == "bytes")
        writeBytes(std::atol(value));
    else if (scenario == "exit") {
        std::puts("failing on purpose");
        return std::atoi(value);
    } else if (scenario == "crash")
        std::abort();
    else if (scenario == "utf8")
        writeUtf8Slowly();
    else if (scenario == "spawn-sleeper")
        return spawnSleeper(value);
    else if (scenario == "flood")
        flood(std::atoi(value));
    else if (scenario == "args") {
        for (int i = 2; i < argc; ++i)
            std::puts(argv[i]);
    } else if (scenario != "silent")
        return 2;
    return 0;
}
