void main()
{
	float4 c = float4(1.0f);
	float x = -c.x;
	int i = 0;
	i++;
	--i;
	x = (x + 1.0f) * 2.0f;
	x = x > 0.5f ? 1.0f : 0.0f;
	bool b = !(x > 0.0f);
	output.color = c.xxyy;
}
