"""What Dask needs of the binding: its functions and results travel by
pickle, and map_partitions of add_lunar_columns in worker processes gives
the single-process result, masks included."""
import pickle

import pandas as pd
import pytest

import qel_calendar as q

dd = pytest.importorskip("dask.dataframe")


def test_map_partitions_in_worker_processes() -> None:
    # Weekly from 1990 to 2210: days after the lunar calendars too.
    df = pd.DataFrame({"date": pd.date_range("1990-01-01", periods=11500, freq="7D")})
    want = q.add_lunar_columns(df)
    assert pickle.loads(pickle.dumps((q.add_lunar_columns, want)))[1].equals(want)
    got = dd.from_pandas(df, npartitions=4).map_partitions(q.add_lunar_columns, "date").compute(scheduler="processes")
    assert got.equals(want) and got.dtypes.equals(want.dtypes) and 0 < want["lunar_year"].isna().sum() < len(df) // 5
