-- The questions every surface answers alike (tests/contract/questions.tsv,
-- copied beside the tests by the Makefile), each answered with the
-- extension's functions. Only a question answered otherwise is listed; a
-- failure must show the library's message ("! " and the text).
SET DateStyle = ISO;
CREATE TEMP TABLE questions (kind text, input text, answer text);
\copy questions FROM 'questions.tsv'

-- A lunar date as the file writes it: 2017-6-1 leap.
CREATE FUNCTION pg_temp.fields(l lunar_date) RETURNS text LANGUAGE sql AS $$
  SELECT format('%s-%s-%s', lunar_year(l::date), lunar_month(l::date), lunar_day(l::date))
         || CASE WHEN lunar_is_leap(l::date) THEN ' leap' ELSE '' END $$;

CREATE FUNCTION pg_temp.answer(kind text, input text) RETURNS text LANGUAGE plpgsql AS $$
DECLARE
  w text[] := string_to_array(input, ' ');                      -- the words
  n int[] := regexp_split_to_array(w[1], '[-T:]')::int[];        -- the fields of the first
  leap boolean := coalesce(w[2] = 'leap', false);
  result text;
  message text;
BEGIN
  CASE kind
  WHEN 'lunar' THEN result := pg_temp.fields(lunar(w[1]));
  WHEN 'solar' THEN result := from_lunar(n[1], n[2], n[3], leap);
  WHEN 'festival' THEN
    SELECT coalesce(string_agg(day::text, ' ' ORDER BY day), '-') INTO result FROM festivals(n[1], w[2]);
  WHEN 'festival_of_lunar_year' THEN result := festival_date(n[1], w[2]);
  WHEN 'pillars' THEN result := array_to_string(pillars(n[1], n[2], n[3], n[4], n[5], n[6], w[2]), ' ');
  WHEN 'add_months' THEN
    result := pg_temp.fields(lunar_add_months(lunar_date(n[1], n[2], n[3], leap), w[cardinality(w)]::int));
  WHEN 'add_years' THEN
    result := pg_temp.fields(lunar_add_years(lunar_date(n[1], n[2], n[3], leap), w[cardinality(w)]::int));
  WHEN 'add_workdays' THEN result := add_workdays(w[1]::date, w[2]::int);
  END CASE;
  RETURN result;
EXCEPTION WHEN OTHERS THEN
  GET STACKED DIAGNOSTICS message = MESSAGE_TEXT;
  RETURN '! ' || message;
END $$;

SELECT count(*) AS questions FROM questions;
SELECT q.*, a.given
FROM questions q, LATERAL pg_temp.answer(q.kind, q.input) a(given)
WHERE CASE WHEN q.answer LIKE '! %' THEN a.given NOT LIKE '! %' OR strpos(a.given, substr(q.answer, 3)) = 0
           ELSE a.given IS DISTINCT FROM q.answer END;
