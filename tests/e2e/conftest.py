"""Fixtures for the end-to-end tests; the machinery is in vantor_e2e.py.

  vantor         a `Vantor` for one test: scratch tree, TEMP, registry key
  wine_prefix    the Wine prefix shared by the tests of one module
  overview_tree  the sample tree of the typical request, mapped as S:\\

The suite fails (never skips) when Wine or vantor.exe is missing, unless
VANTOR_E2E_SKIP=1 is set.
"""

import itertools
import os
import shutil
import tempfile
import time
import warnings
from pathlib import Path

import pytest

import vantor_e2e as e2e


def pytest_configure(config):
    config.addinivalue_line("markers", "own_prefix: give the test a Wine prefix of its own")


def pytest_collection_modifyitems(config, items):
    if os.environ.get("VANTOR_E2E_SKIP") == "1":
        skip = pytest.mark.skip(reason="VANTOR_E2E_SKIP=1 is set")
        for item in items:
            item.add_marker(skip)


class Session:
    """Per-process state: the template prefix and a short scratch root
    (short, because Windows paths of 260 characters are the limit)."""

    def __init__(self):
        e2e.check_environment()
        if not e2e.fix_address_layout():
            warnings.warn("address-space randomization could not be switched off: Wine will now "
                          "and then fail to start a process (see wine_prefix.fix_address_layout)")
        started = time.monotonic()
        self.template = e2e.ensure_template()
        self.template_seconds = time.monotonic() - started
        self.root = Path(tempfile.mkdtemp(prefix="ve2e-"))
        self.counter = itertools.count(1)

    def new_dir(self, kind):
        path = self.root / ("%s%03d" % (kind, next(self.counter)))
        path.mkdir()
        return path

    def new_prefix(self, locale=e2e.LOCALE):
        prefix = e2e.WinePrefix.clone(self.template, self.root / ("p%03d" % next(self.counter)),
                                      locale)
        prefix.start_server()
        return prefix

    def drop_prefix(self, prefix):
        prefix.stop_server()
        if not keep():
            shutil.rmtree(prefix.path, ignore_errors=True)


def keep():
    return os.environ.get("VANTOR_E2E_KEEP") == "1"


@pytest.fixture(scope="session")
def e2e_session():
    try:
        session = Session()
    except e2e.HarnessError as err:
        pytest.fail("end-to-end suite cannot run: %s (set VANTOR_E2E_SKIP=1 to skip it)" % err,
                    pytrace=False)
    yield session
    if not keep():
        shutil.rmtree(session.root, ignore_errors=True)


@pytest.fixture(scope="module")
def wine_prefix(e2e_session):
    """A prefix for the tests of one module, run one at a time."""
    prefix = e2e_session.new_prefix()
    yield prefix
    e2e_session.drop_prefix(prefix)


@pytest.fixture
def vantor(request, e2e_session):
    """The program for one test. Its registry key is deleted and TEMP points
    at its own folder at the start; drives it mapped are removed at the end.
    Mark a test `own_prefix` to give it a private prefix."""
    own = request.node.get_closest_marker("own_prefix") is not None
    prefix = e2e_session.new_prefix() if own else request.getfixturevalue("wine_prefix")
    v = e2e.Vantor(prefix, e2e_session.new_dir("t"))
    yield v
    v.unmap_all()
    if own:
        e2e_session.drop_prefix(prefix)


@pytest.fixture
def overview_tree(vantor):
    """Program Files\\Common Files, ProgramData\\Corp, Users and Windows in a
    folder mapped as drive S:; returns "S:\\"."""
    base = vantor.tree(e2e.OVERVIEW_TREE, vantor.scratch / "sroot")
    return vantor.map_drive("S", base)
