import pytest

import qel_calendar


def pytest_report_header(config: pytest.Config) -> str:
    # The installed package under test, not the source folder.
    return f"qel_calendar {qel_calendar.__version__} from {qel_calendar.__file__}"
