"""A headless LibreOffice Calc with the Tavrin extension installed in a private profile, driven
over a UNO socket: one Calc for a whole suite."""

import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

import uno
import unohelper
from com.sun.star.beans import PropertyValue
from com.sun.star.frame import XDispatchResultListener


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class _Result(unohelper.Base, XDispatchResultListener):
    def __init__(self):
        self.event = None

    def dispatchFinished(self, event):
        self.event = event

    def disposing(self, source):
        pass


class Calc:
    """Starts Calc in a folder of its own (its profile and the files it opens), with the extension
    at `oxt` added the way a user adds it (unopkg, per user). unopkg refuses a per-user add by
    root, so under root both run as the unprivileged user nobody, in a temporary folder it may
    reach wherever the build is."""

    def __init__(self, oxt, display=None):
        self.display = display
        self.folder = tempfile.mkdtemp(prefix="tavrin-calc-")
        os.chmod(self.folder, 0o777)
        self.profile = "file://" + os.path.join(self.folder, "profile")
        package = os.path.join(self.folder, "tavrin.oxt")
        shutil.copy(oxt, package)
        os.chmod(package, 0o644)
        self._run(["unopkg", "add", "--force", "-env:UserInstallation=" + self.profile, package])
        self.port = free_port()
        shown = ["--headless", "--invisible"] if display is None else []
        self.process = subprocess.Popen(
            self._as_user(["soffice"] + shown + ["--norestore", "--nologo",
                           "-env:UserInstallation=" + self.profile,
                           "--accept=socket,host=127.0.0.1,port=%d;urp;" % self.port]),
            env=self._env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.context = self._connect()
        self.smgr = self.context.ServiceManager
        self.desktop = self.smgr.createInstanceWithContext("com.sun.star.frame.Desktop",
                                                           self.context)
        self.urls = self.smgr.createInstanceWithContext("com.sun.star.util.URLTransformer",
                                                        self.context)

    def _env(self):
        env = dict(os.environ, HOME=self.folder)
        env.pop("SAL_USE_VCLPLUGIN", None)
        if self.display is not None:
            env.update(DISPLAY=self.display, SAL_USE_VCLPLUGIN="gen")
        return env

    def _as_user(self, command):
        if os.geteuid() != 0:
            return command
        return ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + command

    def _run(self, command):
        subprocess.run(self._as_user(command), env=self._env(), check=True, timeout=300,
                       stdout=subprocess.DEVNULL)

    def _terminate(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass

    def _connect(self):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        url = "uno:socket,host=127.0.0.1,port=%d;urp;StarOffice.ComponentContext" % self.port
        deadline = time.time() + 120
        while True:
            try:
                return resolver.resolve(url)
            except Exception:
                if time.time() > deadline or self.process.poll() is not None:
                    raise RuntimeError("Calc did not start")
                time.sleep(0.5)

    def open(self, path):
        """Opens a workbook: hidden when headless (which cannot show a document), in a window
        on a display."""
        os.chmod(path, 0o666)
        url = uno.systemPathToFileUrl(os.path.abspath(path))
        hidden = (prop("Hidden", True),) if self.display is None else ()
        return self.desktop.loadComponentFromURL(url, "_blank", 0, hidden)

    def dispatch(self, document, command, arguments):
        """Runs a command of the extension on the document; gives the boxes it showed, as
        (title, text, buttons, answer) rows."""
        url = uno.createUnoStruct("com.sun.star.util.URL")
        url.Complete = "org.tavrin.korvel:" + command
        _, url = self.urls.parseStrict(url)
        frame = document.getCurrentController().getFrame()
        dispatcher = frame.queryDispatch(url, "", 0)
        if dispatcher is None:
            raise RuntimeError("the extension offers no " + command)
        result = _Result()
        dispatcher.dispatchWithNotification(
            url, tuple(prop(k, v) for k, v in arguments.items()), result)
        if result.event.State != 1:
            raise RuntimeError("%s failed: %s" % (command, result.event.Result))
        return [tuple(row) for row in result.event.Result]

    def close(self):
        # Calc with windows may hold terminate up behind a box left open: give it a while.
        ending = threading.Thread(target=self._terminate, daemon=True)
        ending.start()
        ending.join(timeout=30)
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.folder, ignore_errors=True)
