#include "platform/idle/IdleMode.h"

#include "platform/idle/IdleSourceChoice.h"
#include "platform/idle/SaverChild.h"
#include "platform/posix/EndSignals.h"

#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <cstdio>

int RunIdleMode(const IdleRequest& request)
{
    InstallEndSignals();
    signal(SIGPIPE, SIG_IGN);
    std::string why;
    const auto source = OpenIdleSource(request.timeoutMs, request.tryWayland, why);
    if (source == nullptr) {
        std::fprintf(stderr, "Dovezi: --idle cannot learn when you are idle: %s\n", why.c_str());
        return 1;
    }
    SaverChild saver(request.saver);
    for (;;) {
        const IdleWait wait = source->Wait();
        pollfd watched[3] = {{EndSignalDescriptor(), POLLIN, 0},
                             {wait.descriptor, wait.events, 0},
                             {saver.Descriptor(), POLLIN, 0}};
        if (poll(watched, 3, wait.timeoutMs) < 0 && errno != EINTR) {
            std::perror("Dovezi: --idle");
            return 1;
        }
        if (TakeEndSignal())
            return 0;
        if (watched[2].revents != 0)
            saver.Reap();
        const IdleNews news = source->Read(watched[1].revents);
        if (news == IdleNews::Lost) {
            std::fputs("Dovezi: --idle ends: the compositor, the bus or the X server it asked went away\n", stderr);
            return 1;
        }
        if (news == IdleNews::BecameIdle && !saver.IsRunning() && !saver.Start(why))
            std::fprintf(stderr, "Dovezi: --idle cannot start the saver: %s\n", why.c_str());
    }
}
