"""A UDP relay on 127.0.0.1 between a joiner and a host, standing in for a bad link: every datagram each way waits
`delay` ± `jitter` seconds (so some overtake others), a share `loss` of them never arrives, and while `cut` is set
nothing gets through. The joiner joins the relay's port; the relay speaks to the host from a port of its own."""

import heapq
import random
import select
import socket
import threading
import time


class Relay:
    def __init__(self, host_port, delay=0.0, jitter=0.0, loss=0.0, seed=1):
        self.host = ("127.0.0.1", int(host_port))
        self.delay, self.jitter, self.loss, self.cut = delay, jitter, loss, False
        self.random = random.Random(seed)
        self.front, self.back = (socket.socket(socket.AF_INET, socket.SOCK_DGRAM) for _ in range(2))
        for end in (self.front, self.back):
            end.bind(("127.0.0.1", 0))
        self.port = self.front.getsockname()[1]
        self.joiner = None
        self.sent = {"to host": 0, "to joiner": 0}  # bytes delivered each way
        self.queue, self.count, self.stopping = [], 0, False
        self.thread = threading.Thread(target=self._run, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping = True
        self.thread.join(10)
        for end in (self.front, self.back):
            end.close()

    def _take(self, end):
        data, sender = end.recvfrom(65536)
        if end is self.front:
            self.joiner, way = sender, "to host"
        else:
            way = "to joiner"
        if self.cut or self.random.random() < self.loss:
            return
        due = time.monotonic() + max(0.0, self.delay + self.random.uniform(-self.jitter, self.jitter))
        self.count += 1
        heapq.heappush(self.queue, (due, self.count, way, data))

    def _run(self):
        while not self.stopping:
            wait = min(0.05, max(0.0, self.queue[0][0] - time.monotonic())) if self.queue else 0.05
            for end in select.select([self.front, self.back], [], [], wait)[0]:
                self._take(end)
            while self.queue and self.queue[0][0] <= time.monotonic():
                _, _, way, data = heapq.heappop(self.queue)
                if way == "to host":
                    self.back.sendto(data, self.host)
                else:
                    self.front.sendto(data, self.joiner)
                self.sent[way] += len(data)
