"""The Dask recipe: map_partitions of add_lunar_columns over ten million
dates on a LocalCluster of two worker processes gives the single-process
result. Some dates fall outside the lunar table, so the masks travel too."""
import numpy as np
import pandas as pd
import pytest

import qel_calendar as q

dd = pytest.importorskip("dask.dataframe")
da = pytest.importorskip("dask.array")
distributed = pytest.importorskip("distributed")

N = 10_000_000


def test_map_partitions_on_two_worker_processes() -> None:
    lo, hi = (np.datetime64(d, "D").astype(np.int64) for d in ("1890-01-01", "2110-12-31"))
    # Generated on the workers, chunk by chunk from one seed, so the input
    # never travels and the single-process run can draw the same dates.
    dates = da.random.RandomState(18).randint(lo, hi, size=N, chunks=N // 8).astype("M8[D]").astype("M8[ns]")
    lazy = dd.from_dask_array(dates, columns=["date"]).map_partitions(q.add_lunar_columns, "date")

    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None,
                                  memory_limit=0) as cluster, distributed.Client(cluster) as client:
        with distributed.get_task_stream(client) as tasks:
            got = lazy.compute()
    assert len({t["worker"] for t in tasks.data}) == 2

    want = q.add_lunar_columns(pd.DataFrame({"date": dates.compute(scheduler="synchronous")}))
    assert len(got) == N and 0 < got["lunar_year"].isna().sum() < N // 10
    # DataFrame.equals: values, NA positions and dtypes (assert_frame_equal
    # takes minutes over nullable columns of this length).
    assert got.reset_index(drop=True).equals(want) and got.dtypes.equals(want.dtypes)
